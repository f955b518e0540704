#pragma once
// The signature pass, run after the scan on the scan's side: every row's
// file checked (scan/signature_check.h), one at a time in the table's
// order, and its cell set and shown as each check ends. A file listed twice
// (one folder under two products) is checked once. It stops at the next
// file once the table is abandoned, and sizes the Signature column at its end.
#include "scan/result_table.h"
#include "scan/scan_problems.h"

namespace scan {

void CheckSignatures(ResultTable& table, ProblemListener& problems);

}  // namespace scan
