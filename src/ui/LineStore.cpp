#include "ui/LineStore.h"
#include <algorithm>
#include <cstring>

namespace ui {

void LineStore::Clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    refs_.clear();
    refs_.shrink_to_fit();
    ownBlock_ = -1;
    recentCount_ = recentNext_ = 0;
}

void LineStore::ShareLinesOf(const LineStore& source, const std::vector<std::string>& heads) {
    source_ = &source;
    heads_.assign(1, std::string());
    heads_.insert(heads_.end(), heads.begin(), heads.begin() + static_cast<long>(std::min<size_t>(heads.size(), 15)));
}

bool LineStore::FindShared(const std::string& line, uint32_t& head, Ref& sourceRef) const {
    if (!source_ || source_->refs_.empty()) return false;
    sourceRef = source_->refs_.back();
    // A line of the source that is itself a reference keeps its own head: not shared again.
    if (sourceRef.head != 0) return false;
    const char* text = source_->blocks_[sourceRef.block]->data() + sourceRef.offset;
    for (size_t h = 0; h < heads_.size(); ++h) {
        const std::string& prefix = heads_[h];
        if (line.size() != prefix.size() + sourceRef.size || line.compare(0, prefix.size(), prefix) != 0) continue;
        if (std::memcmp(line.data() + prefix.size(), text, sourceRef.size) != 0) continue;
        head = static_cast<uint32_t>(h);
        return true;
    }
    return false;
}

bool LineStore::FindRecent(const std::string& line, Ref& recent) const {
    if (line.size() > kShortLine) return false;
    for (size_t k = 0; k < recentCount_; ++k) {
        const Ref& r = recent_[k];
        if (r.size == line.size() && std::memcmp(blocks_[r.block]->data() + r.offset, line.data(), line.size()) == 0) {
            recent = r;
            return true;
        }
    }
    return false;
}

void LineStore::Add(const std::string& whole) {
    const std::string& line = whole.size() <= kMaxLine ? whole : whole.substr(0, kMaxLine);
    uint32_t head = 0;
    Ref shared{};
    if (FindShared(line, head, shared)) {
        const std::shared_ptr<Block>& block = source_->blocks_[shared.block];
        if (blocks_.empty() || blocks_.back() != block) {
            // A block of the source is taken in once; own lines go on in a block of their own.
            auto known = std::find(blocks_.begin(), blocks_.end(), block);
            if (known == blocks_.end()) {
                blocks_.push_back(block);
                known = blocks_.end() - 1;
            }
            shared.block = static_cast<uint32_t>(known - blocks_.begin());
        } else {
            shared.block = static_cast<uint32_t>(blocks_.size() - 1);
        }
        shared.head = head & 15;
        refs_.push_back(shared);
        return;
    }
    Ref recent{};
    if (FindRecent(line, recent)) {
        refs_.push_back(recent);
        return;
    }
    if (ownBlock_ < 0 || blocks_[static_cast<size_t>(ownBlock_)]->capacity() -
                                 blocks_[static_cast<size_t>(ownBlock_)]->size() < line.size()) {
        blocks_.push_back(std::make_shared<Block>());
        // A line longer than a block gets a block of its own size.
        blocks_.back()->reserve(std::max(kBlockSize, line.size()));
        ownBlock_ = static_cast<long>(blocks_.size() - 1);
    }
    Block& block = *blocks_[static_cast<size_t>(ownBlock_)];
    Ref own{};
    own.block = static_cast<uint32_t>(ownBlock_);
    own.offset = static_cast<uint32_t>(block.size());
    own.size = static_cast<uint32_t>(line.size()) & kMaxLine;
    own.head = 0;
    refs_.push_back(own);
    block.insert(block.end(), line.begin(), line.end());
    if (line.size() <= kShortLine) {
        recent_[recentNext_] = own;
        recentNext_ = (recentNext_ + 1) % recent_.size();
        recentCount_ = std::min(recentCount_ + 1, recent_.size());
    }
}

size_t LineStore::TextBytes() const {
    size_t bytes = 0;
    for (const std::shared_ptr<Block>& block : blocks_)
        if (!source_ || std::find(source_->blocks_.begin(), source_->blocks_.end(), block) == source_->blocks_.end())
            bytes += block->size();
    return bytes;
}

std::string LineStore::Line(size_t index) const {
    if (index >= refs_.size()) return {};
    const Ref& r = refs_[index];
    std::string line = heads_[r.head];
    return line.append(blocks_[r.block]->data() + r.offset, r.size);
}

}  // namespace ui
