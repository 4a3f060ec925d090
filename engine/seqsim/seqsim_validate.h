#pragma once
// Validation of whole SEQ tables and SIM sets against fixed limits, on entering SEQ or SIM and on loading
// a file. The data are changed only by the parallel-operation frequency clamp.

// 1 valid, 0 invalid: the saved configuration and every step of the six tables, phases L1-L3. version: the
// header version of the file image last loaded or built (5 and up also checks the Vpp words).
int SeqValidateAll(int version);
// 1 valid, 0 invalid: the saved configuration and states 0-5 of both sets (L1).
int SimValidateAll(int version);
// One SEQ table (0-5, the order of g_SeqStepTable) and one SIM set (0 200V, 1 100V), as above.
int SeqValidateTable(int table, int version);
int SimValidateSet(int set);
