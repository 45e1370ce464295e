#include "tools/qnpic/qnpic_parallel.h"

#include <cctype>
#include <cstdint>
#include <numeric>
#include <unordered_map>

namespace {

std::string LowerFileName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

size_t Root(std::vector<size_t>& parent, size_t i)
{
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

void PutNumber(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, const std::string& text)
{
    PutNumber(out, uint32_t(text.size()));
    out += text;
}

// Reads a number or text at `at`, advancing it; false when the bytes end first.
bool GetNumber(const std::string& in, size_t& at, uint32_t& v)
{
    if (in.size() - at < 4)
        return false;
    v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(static_cast<unsigned char>(in[at + size_t(i)])) << (8 * i);
    at += 4;
    return true;
}

bool GetText(const std::string& in, size_t& at, std::string& text)
{
    uint32_t size = 0;
    if (!GetNumber(in, at, size) || in.size() - at < size)
        return false;
    text.assign(in, at, size);
    at += size;
    return true;
}

constexpr char kStarted = 'S';
constexpr char kDone = 'D';

} // namespace

std::vector<std::vector<size_t>> IndependentGroups(const std::vector<std::string>& sources,
                                                   const std::vector<std::string>& destinations)
{
    const size_t n = sources.size();
    std::vector<size_t> parent(n);
    std::iota(parent.begin(), parent.end(), size_t(0));
    std::unordered_map<std::string, size_t> owner; // file name -> first item naming it
    auto claim = [&](const std::string& path, size_t item) {
        const auto [it, inserted] = owner.emplace(LowerFileName(path), item);
        if (!inserted) {
            const size_t a = Root(parent, it->second), b = Root(parent, item);
            parent[std::max(a, b)] = std::min(a, b); // the root is the group's first item
        }
    };
    for (size_t i = 0; i < n; ++i) {
        claim(sources[i], i);
        if (i < destinations.size())
            claim(destinations[i], i);
    }
    std::vector<std::vector<size_t>> groups;
    std::vector<size_t> groupOfRoot(n, SIZE_MAX);
    for (size_t i = 0; i < n; ++i) {
        const size_t root = Root(parent, i);
        if (groupOfRoot[root] == SIZE_MAX) {
            groupOfRoot[root] = groups.size();
            groups.emplace_back();
        }
        groups[groupOfRoot[root]].push_back(i);
    }
    return groups;
}

std::string EncodeWorkerMessage(const WorkerMessage& message)
{
    std::string out;
    out += message.started ? kStarted : kDone;
    PutNumber(out, uint32_t(message.index));
    if (!message.started) {
        out += char(message.result.status);
        PutText(out, message.result.source);
        PutText(out, message.result.destination);
        PutText(out, message.result.reason);
    }
    return out;
}

std::optional<WorkerMessage> CWorkerMessageReader::Next(bool& valid)
{
    valid = true;
    if (m_buffer.empty())
        return std::nullopt;
    if (m_buffer[0] != kStarted && m_buffer[0] != kDone) {
        valid = false;
        return std::nullopt;
    }
    WorkerMessage message;
    message.started = m_buffer[0] == kStarted;
    size_t at = 1;
    uint32_t index = 0;
    if (!GetNumber(m_buffer, at, index))
        return std::nullopt;
    message.index = index;
    if (!message.started) {
        if (at >= m_buffer.size())
            return std::nullopt;
        const int status = static_cast<unsigned char>(m_buffer[at++]);
        if (status > int(ConvertStatus::WriteFailed)) {
            valid = false;
            return std::nullopt;
        }
        message.result.status = ConvertStatus(status);
        if (!GetText(m_buffer, at, message.result.source) || !GetText(m_buffer, at, message.result.destination) ||
            !GetText(m_buffer, at, message.result.reason))
            return std::nullopt;
    }
    m_buffer.erase(0, at);
    return message;
}

COrderedResults::COrderedResults(size_t count, std::function<void(const ConvertResult&)> report)
    : m_results(count), m_report(std::move(report))
{
}

void COrderedResults::Add(size_t index, ConvertResult result)
{
    if (index >= m_results.size() || m_results[index])
        return;
    m_results[index] = std::move(result);
    while (m_next < m_results.size() && m_results[m_next])
        m_report(*m_results[m_next++]);
}

std::vector<ConvertResult> COrderedResults::Take()
{
    std::vector<ConvertResult> all;
    for (std::optional<ConvertResult>& r : m_results)
        if (r)
            all.push_back(std::move(*r));
    return all;
}
