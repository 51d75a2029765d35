/* String-table entries of the dynamic text expander, in the string table of every module that
   links it. Plain macros, because the resource compiler reads this file too. */
#pragma once

/* Dynamic watermark variables, in the order the expander tries them, and the delimiter. */
#define IDS_VARIABLE_USERNAME 161
#define IDS_VARIABLE_DATESHORT 162
#define IDS_VARIABLE_DATELONG 163
#define IDS_VARIABLE_DATEDDMMYYYY 164
#define IDS_VARIABLE_TIME 165
#define IDS_VARIABLE_TIMEMIL 166
#define IDS_VARIABLE_TIMEHRMN 167
#define IDS_VARIABLE_PAGENUMBER 168
#define IDS_VARIABLE_HOSTNAME 169
#define IDS_VARIABLE_PRINTER 170
#define IDS_VARIABLE_MODELNAME 171
#define IDS_VARIABLE_DELIMITER 172
