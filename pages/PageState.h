#pragma once

// The pages keep some state for the whole process, as the program runs one sheet per process:
// the first-activation flags, the dependent-toggle states and the editor-running flags. Sets
// all of it as at process start, so that tests may run many sheets in one process.
void ResetPageStateForTesting();
