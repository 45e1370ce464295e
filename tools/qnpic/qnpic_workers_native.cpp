#include "tools/qnpic/qnpic_workers.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <new>

#include "picturetools/translator/file_ops.h"
#include "tools/qnpic/qnpic_parallel.h"

namespace {

// Writes all of `bytes`; false when the parent is gone.
bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// A worker's observer: reports each item over the pipe under its index in the whole run.
class PipeObserver : public CBatchObserver {
public:
    PipeObserver(CBatchObserver& answers, int fd) : m_answers(answers), m_fd(fd) {}
    void SetItems(const std::vector<size_t>* items) { m_items = items; }

    bool BeginItem(size_t index, size_t, const std::string&) override
    {
        m_current = (*m_items)[index];
        WorkerMessage message;
        message.index = m_current;
        message.started = true;
        return WriteAll(m_fd, EncodeWorkerMessage(message));
    }
    OverwriteAnswer AskOverwrite(const std::string& destination) override { return m_answers.AskOverwrite(destination); }
    void ItemDone(const ConvertResult& result) override
    {
        WorkerMessage message;
        message.index = m_current;
        message.result = result;
        WriteAll(m_fd, EncodeWorkerMessage(message));
    }

private:
    CBatchObserver& m_answers;
    int m_fd;
    const std::vector<size_t>* m_items = nullptr;
    size_t m_current = 0;
};

// The worker's life: take the next group until none is left. Never returns.
[[noreturn]] void WorkerMain(const std::vector<std::vector<size_t>>& groups, const std::vector<std::string>& sources,
                             const ConvertSettings& settings, CBatchObserver& answers, std::atomic<size_t>& nextGroup,
                             int fd)
{
    PipeObserver observer(answers, fd);
    for (;;) {
        const size_t g = nextGroup.fetch_add(1);
        if (g >= groups.size())
            break;
        std::vector<std::string> groupSources;
        for (size_t item : groups[g])
            groupSources.push_back(sources[item]);
        observer.SetItems(&groups[g]);
        if (RunBatchConvert(groupSources, settings, observer).cancelled)
            break; // the parent is gone
    }
    ::close(fd);
    ::_exit(0);
}

// Passes on the overwrite answers only: for items converted here after the workers.
class AnswersOnly : public CBatchObserver {
public:
    explicit AnswersOnly(CBatchObserver& answers) : m_answers(answers) {}
    OverwriteAnswer AskOverwrite(const std::string& destination) override { return m_answers.AskOverwrite(destination); }

private:
    CBatchObserver& m_answers;
};

struct Worker {
    pid_t pid = -1;
    int fd = -1;
    CWorkerMessageReader reader;
    bool readerValid = true;
    std::optional<WorkerMessage> current; // the item started and not yet reported
};

// A worker that ended inside an item (it crashed or was killed): that item failed, and is not
// tried again, lest it end this process too.
void ReportUnfinished(Worker& worker, COrderedResults& results, int status, const std::vector<std::string>& sources)
{
    if (!worker.current || results.Has(worker.current->index))
        return;
    ConvertResult r;
    r.source = sources[worker.current->index];
    r.status = ConvertStatus::WriteFailed;
    r.reason = WIFSIGNALED(status) ? "the conversion stopped on signal " + std::to_string(WTERMSIG(status))
                                   : "the conversion stopped unexpectedly";
    results.Add(worker.current->index, r);
}

// Reads what the worker sent; false at the end of its output.
bool Drain(Worker& worker, COrderedResults& results)
{
    char buffer[4096];
    const ssize_t n = ::read(worker.fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return true;
    if (n <= 0)
        return false;
    worker.reader.Append(buffer, size_t(n));
    while (worker.readerValid) {
        bool valid = true;
        std::optional<WorkerMessage> message = worker.reader.Next(valid);
        worker.readerValid = valid;
        if (!message)
            break;
        if (message->started) {
            worker.current = std::move(message);
        } else {
            worker.current.reset();
            results.Add(message->index, std::move(message->result));
        }
    }
    return true;
}

} // namespace

int DefaultWorkerCount()
{
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? int(std::min<long>(online, 64)) : 1;
}

BatchSummary RunBatchInWorkers(const std::vector<std::string>& sources, const ConvertSettings& settings,
                               CBatchObserver& observer, int workers)
{
    if (workers <= 1 || sources.size() <= 1 || !settings.outputFile.empty())
        return RunBatchConvert(sources, settings, observer);
    std::vector<std::string> destinations;
    for (const std::string& source : sources)
        destinations.push_back(DestinationPath(settings.outputFolder, source, *settings.codec));
    const std::vector<std::vector<size_t>> groups = IndependentGroups(sources, destinations);
    workers = int(std::min<size_t>(size_t(workers), groups.size()));
    if (workers <= 1)
        return RunBatchConvert(sources, settings, observer);

    // Every worker would create the folder; doing it once first keeps them from racing.
    CreateFolderLevels(settings.outputFolder);

    void* shared = ::mmap(nullptr, sizeof(std::atomic<size_t>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED)
        return RunBatchConvert(sources, settings, observer);
    auto* nextGroup = new (shared) std::atomic<size_t>(0);

    COrderedResults results(sources.size(), [&](const ConvertResult& r) { observer.ItemDone(r); });
    std::vector<Worker> pool;
    std::fflush(nullptr); // a worker must not inherit unwritten output
    for (int w = 0; w < workers; ++w) {
        int fds[2];
        if (::pipe(fds) != 0)
            break;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            for (const Worker& other : pool)
                ::close(other.fd);
            WorkerMain(groups, sources, settings, observer, *nextGroup, fds[1]);
        }
        ::close(fds[1]);
        if (pid < 0) {
            ::close(fds[0]);
            break;
        }
        Worker worker;
        worker.pid = pid;
        worker.fd = fds[0];
        pool.push_back(std::move(worker));
    }

    std::vector<pollfd> waiting;
    while (!pool.empty()) {
        waiting.clear();
        for (const Worker& worker : pool)
            waiting.push_back({worker.fd, POLLIN, 0});
        if (::poll(waiting.data(), waiting.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (size_t i = pool.size(); i-- > 0;) {
            if (!(waiting[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            if (Drain(pool[i], results))
                continue;
            ::close(pool[i].fd);
            int status = 0;
            while (::waitpid(pool[i].pid, &status, 0) < 0 && errno == EINTR) {
            }
            ReportUnfinished(pool[i], results, status, sources);
            pool.erase(pool.begin() + std::ptrdiff_t(i));
        }
    }
    for (Worker& worker : pool) { // only after a failed poll
        ::close(worker.fd);
        while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    ::munmap(shared, sizeof(std::atomic<size_t>));

    // Items no worker reported (none could be started, or one ended early): here, in order.
    std::vector<size_t> missing;
    for (size_t i = 0; i < sources.size(); ++i)
        if (!results.Has(i))
            missing.push_back(i);
    if (!missing.empty()) {
        std::vector<std::string> rest;
        for (size_t i : missing)
            rest.push_back(sources[i]);
        AnswersOnly answers(observer);
        const BatchSummary again = RunBatchConvert(rest, settings, answers);
        for (size_t k = 0; k < again.results.size(); ++k)
            results.Add(missing[k], again.results[k]);
    }
    BatchSummary summary;
    summary.results = results.Take();
    return summary;
}
