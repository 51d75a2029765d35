/* Resource constants of the host driver's own sheet page. */
#pragma once

#define IDD_HOST_ITEMS_PAGE 100
#define IDC_HOST_ITEMS 1001
#define IDC_HOST_ITEM_VALUE 1002
#define IDC_HOST_ITEM_VALUE_LABEL 1003
#define IDC_HOST_PAGE_CORNER 8000
/* The host's name of the booklet choice of pages per sheet. */
#define IDS_CPSUI_BOOKLET 64873
