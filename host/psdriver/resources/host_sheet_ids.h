/* Resource constants of the host driver's own sheet page. */
#pragma once

#define IDD_HOST_ITEMS_PAGE 100
#define IDC_HOST_ITEMS 1001
