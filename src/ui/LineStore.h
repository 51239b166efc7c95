// Lines kept compactly: one byte a character, in large blocks, so that a list of hundreds of
// thousands of lines costs little more than its text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

class LineStore {
public:
    void Clear();
    void Add(const std::string& line);
    size_t Count() const { return refs_.size(); }
    std::string Line(size_t index) const;
    // Calls visit(text, length) for every line, in order, without copying them.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const Ref& r : refs_) visit(blocks_[r.block].data() + r.offset, static_cast<size_t>(r.size));
    }

private:
    static constexpr size_t kBlockSize = 1 << 20;
    struct Ref {
        uint32_t block, offset, size;
    };
    std::vector<std::vector<char>> blocks_;
    std::vector<Ref> refs_;
};

}  // namespace ui
