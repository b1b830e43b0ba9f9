// When a batch of hashed files stops between files (the MultipleFiles rule).
#pragma once

// The three behaviours of the MultipleFiles setting.
enum BatchStopRule { StopAfterEveryFile = 0, StopAfterMatchingFile = 1, NeverStop = 2 };

// A stored value outside 0..2 (edited by hand) still picks a rule: above 2
// never stops, below 0 stops after a matching file, as 1 does.
BatchStopRule BatchStopRuleOf(int multipleFiles);

// Whether the batch stops after a file whose checksum went into field 2
// (intoField2) or field 1, with started of queued files begun so far;
// matchesField1: the checksum equals field 1's (only looked at for field 2).
bool StopsAfterFile(BatchStopRule rule, bool intoField2, long started, long queued,
                    bool matchesField1);

// Whether a batch is under way: from its first file's arrival until the
// thread of its last file has ended it and both counts are back to 0. The job
// state is briefly idle between two of its files, so it cannot tell this.
bool IsBatchUnderway(long started, long queued);
