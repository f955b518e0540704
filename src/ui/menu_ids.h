#pragma once
// The result list's popup menu: resource 130, its first popup holding these
// commands. Plain macros, so the resource compiler reads them too.
#define IDR_LIST_MENU 130
#define ID_LIST_COPY_ITEM 32774
#define ID_LIST_COPY_ROW 32771
#define ID_LIST_EXPLORE_LOCATION 32772
