#include "tools/qnpic/qnpic_workers.h"

int DefaultWorkerCount() { return 1; }

BatchSummary RunBatchInWorkers(const std::vector<std::string>& sources, const ConvertSettings& settings,
                               CBatchObserver& observer, int)
{
    return RunBatchConvert(sources, settings, observer);
}
