#pragma once
// Runs a batch conversion in several worker processes, one picture at a time each, so that
// both cores convert; the observer hears of every item in input order, from this process.
// The codecs are process-wide singletons that hold one operation's state, so parallel work
// needs separate processes, not threads. Where processes cannot be forked (Windows) the run
// stays in this process.
#include <string>
#include <vector>

#include "picturetools/translator/batch_convert.h"

// The workers a run uses unless told otherwise: one per processor online.
int DefaultWorkerCount();

// With `workers` <= 1, or a single item, or a single output file: RunBatchConvert itself.
// Otherwise the items run in `workers` processes; items that may touch the same file run in
// one worker, in input order. The observer's AskOverwrite is asked in the workers and must
// answer alike for every item (qnpic's answers come from its command line); BeginItem and
// BeginSave are not called; FileProgress must be null. An item whose worker ended without
// reporting it is converted again in this process after the others, so no item goes missing.
BatchSummary RunBatchInWorkers(const std::vector<std::string>& sources, const ConvertSettings& settings,
                               CBatchObserver& observer, int workers);
