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

TEST(LineStore, AShortLineRepeatedAMomentLaterIsKeptOnce) {
    ui::LineStore log;
    std::vector<std::string> added;
    auto add = [&](const std::string& line) {
        log.Add(line);
        added.push_back(line);
    };
    // As a job writes them: a long line for each file, then the same short one.
    for (int i = 0; i < 1000; ++i) {
        add("12/7/2026 - 10:00:0" + std::to_string(i / 500) + " : Copying file: \" C:\\Docs\\file " +
            std::to_string(i) + ".txt\" to : \"E:\\Set\\Archive\\Documents\\file " + std::to_string(i) + ".txt\"");
        add("12/7/2026 - 10:00:0" + std::to_string(i / 500) + " : File successfully copied");
    }
    EXPECT_EQ(Lines(log), added);
    size_t longBytes = 0;
    for (size_t i = 0; i < added.size(); i += 2) longBytes += added[i].size();
    EXPECT_EQ(log.TextBytes(), longBytes + 2 * added[1].size()) << "each second's short line is held once";

    // Five other short lines push the first out of those remembered: it is held anew, and read
    // back as it was.
    for (const char* line : {"one", "two", "three", "four", "five", "one", "six"}) add(line);
    EXPECT_EQ(Lines(log), added);
    EXPECT_EQ(log.TextBytes(), longBytes + 2 * added[1].size() + std::string("onetwothreefourfiveonesix").size());
    log.Clear();
    log.Add("five");
    EXPECT_EQ(Lines(log), std::vector<std::string>{"five"});
    EXPECT_EQ(log.TextBytes(), 4u) << "nothing is remembered across a clear";
}

TEST(LineStore, AFrontCodedWorkListReadsBackEveryLineWhileKeepingOnlyWhatDiffers) {
    ui::LineStore list;
    list.UseFrontCoding();
    std::vector<std::string> added;
    size_t whole = 0;
    for (int folder = 0; folder < 3; ++folder)
        for (int file = 0; file < 40; ++file) {
            added.push_back("[MYDOCS--]C:\\Users\\Ann\\Documents\\Folder " + std::to_string(folder) + "\\file " +
                            std::to_string(file) + ".dat");
            list.Add(added.back());
            whole += added.back().size();
        }
    EXPECT_LT(list.TextBytes(), whole / 3) << "a folder's files keep their common beginning once";
    // Lines that share nothing, an empty one, one the line before begins, and lines longer than
    // a block.
    for (const std::string& line : {std::string("[ADDFILES]D:\\x.txt"), std::string(), std::string("[ADDFILES]D:\\"),
                                    std::string(3 << 20, 'L') + "end", std::string(3 << 20, 'L') + "END"}) {
        added.push_back(line);
        list.Add(line);
    }
    EXPECT_EQ(Lines(list), added);
    std::string joined;
    for (const std::string& line : added) joined += line + "|";
    EXPECT_EQ(Joined(list), joined);

    // A text log never takes a line of a work list for one of its own.
    ui::LineStore text;
    text.ShareLinesOf(list, {"[ERROR] "});
    text.Add(added.back());
    list.Clear();
    EXPECT_EQ(Lines(text), std::vector<std::string>{added.back()});
    list.Add("after a clear");
    EXPECT_EQ(Lines(list), std::vector<std::string>{"after a clear"});
}
