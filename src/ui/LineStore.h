// Lines kept compactly: one byte a character, in large blocks, so that a list of hundreds of
// thousands of lines costs little more than its text.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class LineStore {
public:
    // Lines that begin as the line before them does (a work list: file after file of one
    // folder) keep only what differs; every kRestart-th line is kept whole, so that a line is
    // read back from at most kRestart lines. Such a store neither shares lines nor lends them.
    // Call it while the store is empty.
    void UseFrontCoding() { frontCoded_ = refs_.empty(); }
    void Clear();
    // A line of more than 256 MB keeps its first 256 MB.
    void Add(const std::string& line);
    size_t Count() const { return refs_.size(); }
    std::string Line(size_t index) const;
    // The bytes of text this store holds itself (not those it shares with its source).
    size_t TextBytes() const;
    // Calls visit(head, headLength, text, textLength) for every line, in order, without copying
    // them: the line is the head followed by the text.
    template <typename Visit>
    void ForEach(Visit visit) const {
        std::string line;
        for (const Ref& r : refs_) {
            const std::string& head = heads_[r.head];
            const char* text = blocks_[r.block]->data() + r.offset;
            if (!frontCoded_) {
                visit(head.data(), head.size(), text, static_cast<size_t>(r.size));
                continue;
            }
            line.resize(r.prefix);
            line.append(text, r.size);
            visit(head.data(), head.size(), line.data(), line.size());
        }
    }
    // Lines of this store that repeat the last line of source, alone or after one of heads (a
    // text log beside the log on screen), keep only a reference to its text. The source's text
    // stays alive for as long as this store refers to it, whatever happens to the source.
    void ShareLinesOf(const LineStore& source, const std::vector<std::string>& heads);

private:
    static constexpr size_t kBlockSize = 1 << 20;
    using Block = std::vector<char>;
    // Twelve bytes a line: a line holds at most kMaxLine bytes, a store at most 15 heads and
    // 2^20 blocks; a line begins with at most kMaxPrefix bytes of the line before it.
    static constexpr size_t kMaxLine = (size_t{1} << 28) - 1;
    static constexpr size_t kMaxPrefix = (size_t{1} << 12) - 1;
    static constexpr size_t kRestart = 16;
    struct Ref {
        uint32_t block : 20;
        uint32_t head : 4;
        uint32_t offset : 20;  // within a block of kBlockSize; a longer line has a block of its own
        uint32_t prefix : 12;
        uint32_t size : 28;
    };
    // The last line of source, as head index and reference into source's blocks; false when
    // line is not such a repeat.
    bool FindShared(const std::string& line, uint32_t& head, Ref& sourceRef) const;
    // A short line this store added a moment ago with the same text (a job writes the same
    // "copied" line after every file, the clock changing once a second); false when none.
    bool FindRecent(const std::string& line, Ref& recent) const;
    // Appends text to the store's own block, as a line that begins with prefix bytes of the
    // line before it.
    void AddOwn(const char* text, size_t size, size_t prefix);

    std::vector<std::shared_ptr<Block>> blocks_;
    // In chunks: a growing list never holds its references twice while it grows, nor keeps
    // room for as many again.
    std::deque<Ref> refs_;
    // The block that own lines are appended to; -1 when none (the last block may be borrowed).
    long ownBlock_ = -1;
    const LineStore* source_ = nullptr;
    // Heads a line may have before its text: the empty head first.
    std::vector<std::string> heads_{std::string()};
    // The last short lines of this store's own text, the newest at recentNext_ - 1.
    static constexpr size_t kShortLine = 96;
    std::array<Ref, 4> recent_{};
    size_t recentCount_ = 0, recentNext_ = 0;
    bool frontCoded_ = false;
    // The last line added, whole, while front coding.
    std::string last_;
};

}  // namespace ui
