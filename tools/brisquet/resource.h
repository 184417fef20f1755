// String identifiers of Brisquet.exe, one for each way a run can fail.
#pragma once

#define IDS_USAGE 1
#define IDS_LINK_NOT_FOUND 2
#define IDS_LINK_UNREADABLE 3
#define IDS_NO_TARGET 4
#define IDS_TARGET_NOT_FOUND 5
#define IDS_OPEN_FAILED 6
