#pragma once
// The SEQUENCE preparation, one step per menu/control-thread pass: the held "Sequence preparation..."
// popup once a preparation is asked for, and at the screen's download stage the download with its report.

// Stages 0-4: the held popup (once per request, also when this thread first sees it after the screen has
// ticked the stage on). Stage 5: the download (under the step-table lock; a pass
// that cannot take it leaves the stage for the next), the popups closed, stage 6, then "SEQ Err.(%d, %d)"
// (the step of the last mismatch, the count), "Sequence is ready.", "SEQ%d Data Out of Range!\n Set To
// Limited." (after a recall of a memory loaded limited, naming it) or "Data Out of Range!\n Set To
// Limited."; the mismatch words are cleared after the report.
void Seq_PreparationStep();
