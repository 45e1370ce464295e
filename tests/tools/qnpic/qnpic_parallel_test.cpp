// The bookkeeping of qnpic's worker processes: which items share a worker, the messages as a
// pipe delivers them (in pieces), and results put back into input order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/qnpic/qnpic_parallel.h"

TEST(QnpicParallel, ItemsTouchingTheSameFileShareAGroupInInputOrder)
{
    const std::vector<std::string> sources = {"in/a.jpg", "in/b.jpg", "other/A.jpg", "in/c.png", "out/c.PNG", "in/d.jpg"};
    const std::vector<std::string> destinations = {"out/a.PNG", "out/b.PNG", "out/A.PNG", "out/c.PNG", "out/c.PNG", "out/d.PNG"};
    // 0 and 2 share a destination (case ignored); 4 reads what 3 writes (and writes it again).
    const std::vector<std::vector<size_t>> expected = {{0, 2}, {1}, {3, 4}, {5}};
    EXPECT_EQ(IndependentGroups(sources, destinations), expected);

    // A chain: 0 writes what 2 reads, 2 writes what 1 reads: all three in one group.
    const std::vector<std::string> chainSources = {"x.bmp", "y.PNG", "z.bmp"};
    const std::vector<std::string> chainDestinations = {"o/z.BMP", "o/y.BMP", "o/y.PNG"};
    const std::vector<std::vector<size_t>> oneGroup = {{0, 1, 2}};
    EXPECT_EQ(IndependentGroups(chainSources, chainDestinations), oneGroup);
    EXPECT_TRUE(IndependentGroups({}, {}).empty());
}

TEST(QnpicParallel, MessagesSurviveArrivingByteByByte)
{
    WorkerMessage started;
    started.index = 70000; // more than one byte
    started.started = true;
    WorkerMessage done;
    done.index = 3;
    done.result.source = "in/some file.jpg";
    done.result.destination = std::string("out/\0odd.PNG", 12);
    done.result.status = ConvertStatus::WriteFailed;
    done.result.reason = "cannot write the file";
    const std::string bytes = EncodeWorkerMessage(started) + EncodeWorkerMessage(done);

    CWorkerMessageReader reader;
    std::vector<WorkerMessage> got;
    for (char c : bytes) {
        reader.Append(&c, 1);
        bool valid = false;
        while (std::optional<WorkerMessage> m = reader.Next(valid))
            got.push_back(*m);
        ASSERT_TRUE(valid);
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_TRUE(got[0].started);
    EXPECT_EQ(got[0].index, 70000u);
    EXPECT_FALSE(got[1].started);
    EXPECT_EQ(got[1].index, 3u);
    EXPECT_EQ(got[1].result.source, done.result.source);
    EXPECT_EQ(got[1].result.destination, done.result.destination);
    EXPECT_EQ(got[1].result.status, ConvertStatus::WriteFailed);
    EXPECT_EQ(got[1].result.reason, done.result.reason);
    EXPECT_TRUE(reader.Empty());

    // Bytes that are no message, or an unknown status, are refused rather than misread.
    CWorkerMessageReader garbage;
    garbage.Append("X123", 4);
    bool valid = true;
    EXPECT_FALSE(garbage.Next(valid));
    EXPECT_FALSE(valid);
    std::string badStatus = EncodeWorkerMessage(done);
    badStatus[5] = char(99);
    CWorkerMessageReader bad;
    bad.Append(badStatus.data(), badStatus.size());
    EXPECT_FALSE(bad.Next(valid));
    EXPECT_FALSE(valid);
}

TEST(QnpicParallel, ResultsAreReportedInInputOrderAsSoonAsPossible)
{
    std::vector<std::string> reported;
    COrderedResults results(4, [&](const ConvertResult& r) { reported.push_back(r.source); });
    auto result = [](const char* source) {
        ConvertResult r;
        r.source = source;
        return r;
    };
    results.Add(2, result("c"));
    results.Add(1, result("b"));
    EXPECT_TRUE(reported.empty());
    results.Add(0, result("a"));
    EXPECT_EQ(reported, (std::vector<std::string>{"a", "b", "c"}));
    results.Add(0, result("again")); // a second report of an item is ignored
    results.Add(9, result("beyond"));
    results.Add(3, result("d"));
    EXPECT_EQ(reported, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(results.Has(3));
    const std::vector<ConvertResult> all = results.Take();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].source, "a");
    EXPECT_EQ(all[3].source, "d");
}
