#include "jobs/HashBatch.h"

BatchStopRule BatchStopRuleOf(int multipleFiles) {
    if (multipleFiles < StopAfterEveryFile)
        return StopAfterMatchingFile;
    if (multipleFiles > NeverStop)
        return NeverStop;
    return static_cast<BatchStopRule>(multipleFiles);
}

bool StopsAfterFile(BatchStopRule rule, bool intoField2, long started, long queued,
                    bool matchesField1) {
    if (started >= queued)
        return false; // the last file of the batch ends it
    if (rule == StopAfterEveryFile)
        return true;
    return rule == StopAfterMatchingFile && intoField2 && matchesField1;
}

bool IsBatchUnderway(long started, long queued) {
    return started != 0 || queued != 0;
}
