/* Resource constants of the user-interface plug-in, read by the resource compiler and the code. */
#pragma once

#define QVPSUI_VERSION_BINARY 1, 0, 0, 1
#define QVPSUI_VERSION_TEXT "1.0.0.1"

#define IDR_PAGE_MANIFEST 2
