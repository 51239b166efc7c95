#include "ui/LineStore.h"
#include <algorithm>

namespace ui {

void LineStore::Clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    refs_.clear();
    refs_.shrink_to_fit();
}

void LineStore::Add(const std::string& line) {
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < line.size()) {
        blocks_.emplace_back();
        // A line longer than a block gets a block of its own size.
        blocks_.back().reserve(std::max(kBlockSize, line.size()));
    }
    std::vector<char>& block = blocks_.back();
    refs_.push_back(Ref{static_cast<uint32_t>(blocks_.size() - 1), static_cast<uint32_t>(block.size()),
                        static_cast<uint32_t>(line.size())});
    block.insert(block.end(), line.begin(), line.end());
}

std::string LineStore::Line(size_t index) const {
    if (index >= refs_.size()) return {};
    const Ref& r = refs_[index];
    return std::string(blocks_[r.block].data() + r.offset, r.size);
}

}  // namespace ui
