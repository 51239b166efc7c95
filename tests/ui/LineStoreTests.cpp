// Lines kept compactly, and a text log that keeps only references to the log's texts.
#include <gtest/gtest.h>
#include "ui/LineStore.h"

namespace {

std::vector<std::string> Lines(const ui::LineStore& store) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < store.Count(); ++i) lines.push_back(store.Line(i));
    return lines;
}

std::string Joined(const ui::LineStore& store) {
    std::string all;
    store.ForEach([&](const char* head, size_t headLength, const char* text, size_t length) {
        all.append(head, headLength).append(text, length).append("|");
    });
    return all;
}

}  // namespace

TEST(LineStore, ATextLogBesideALogReadsBackEveryLineEvenOnceTheLogIsCleared) {
    ui::LineStore log, text;
    text.ShareLinesOf(log, {"[WARNING] ", "[ERROR] "});
    const std::string longLine(3 << 20, 'L');  // longer than a block
    const std::vector<std::pair<std::string, std::string>> lines = {
        {"copying a", "copying a"},
        {"a failed", "[ERROR] a failed"},
        {"trying again", "[WARNING] trying again"},
        {"", ""},
        {longLine, "[ERROR] " + longLine},
        {"done", "[WARNING] not the log's line"},  // no repeat: a line of its own
        {"after", "after"},
    };
    for (const auto& l : lines) {
        log.Add(l.first);
        text.Add(l.second);
    }
    text.Add("a line the log never had");
    std::vector<std::string> expected;
    std::string joined;
    for (const auto& l : lines) {
        expected.push_back(l.second);
        joined += l.second + "|";
    }
    expected.push_back("a line the log never had");
    joined += "a line the log never had|";
    EXPECT_EQ(Lines(text), expected);
    EXPECT_EQ(Joined(text), joined);

    // The log starts afresh (a new job): the text log keeps what it had until it is cleared too.
    log.Clear();
    for (int i = 0; i < 1000; ++i) log.Add(std::string(2000, 'x'));
    EXPECT_EQ(Lines(text), expected);
    text.Clear();
    log.Add("next job");
    text.Add("[ERROR] next job");
    EXPECT_EQ(Lines(text), std::vector<std::string>{"[ERROR] next job"});
}
