#pragma once
// The facts about this machine that a JSON report carries, read at the
// start of the scan.
#include "scan/machine_facts.h"

scan::MachineFacts ReadMachineFacts();
