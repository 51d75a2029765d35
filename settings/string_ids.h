/* String-table entries that both plug-ins' resource scripts and the settings code share. Plain
   macros, because the resource compiler reads this file too. */
#pragma once

#define IDS_DEFAULT_FONT_FACE 96

/* English spellings of the dynamic watermark variables. */
#define IDS_VARIABLE_USERNAME_EN 1610
#define IDS_VARIABLE_DATESHORT_EN 1620
#define IDS_VARIABLE_DATELONG_EN 1630
#define IDS_VARIABLE_DATEDDMMYYYY_EN 1640
#define IDS_VARIABLE_TIME_EN 1650
#define IDS_VARIABLE_TIMEMIL_EN 1660
#define IDS_VARIABLE_TIMEHRMN_EN 1670
#define IDS_VARIABLE_PAGENUMBER_EN 1680
#define IDS_VARIABLE_HOSTNAME_EN 1690
#define IDS_VARIABLE_PRINTER_EN 1700
#define IDS_VARIABLE_MODELNAME_EN 1710
#define IDS_VARIABLE_DELIMITER_EN 1720
