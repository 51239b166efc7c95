#include "ui/LineStore.h"
#include <algorithm>
#include <initializer_list>
#include <cstring>

namespace ui {

void LineStore::Clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    refs_.clear();
    refs_.shrink_to_fit();
    ownBlock_ = -1;
    recentCount_ = recentNext_ = 0;
    last_.clear();
    last_.shrink_to_fit();
}

void LineStore::ShareLinesOf(const LineStore& source, const std::vector<std::string>& heads) {
    source_ = &source;
    heads_.assign(1, std::string());
    heads_.insert(heads_.end(), heads.begin(), heads.begin() + static_cast<long>(std::min<size_t>(heads.size(), 15)));
}

bool LineStore::FindShared(const std::string& line, uint32_t& head, Ref& sourceRef) const {
    if (!source_ || source_->refs_.empty() || source_->frontCoded_) return false;
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
    if (!frontCoded_ && FindShared(line, head, shared)) {
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
    // A front-coded store remembers no recent lines.
    Ref recent{};
    if (FindRecent(line, recent)) {
        refs_.push_back(recent);
        return;
    }
    size_t prefix = 0;
    if (frontCoded_) {
        if (refs_.size() % kRestart != 0) {
            const size_t most = std::min({line.size(), last_.size(), kMaxPrefix});
            while (prefix < most && line[prefix] == last_[prefix]) ++prefix;
        }
        last_ = line;
    }
    AddOwn(line.data() + prefix, line.size() - prefix, prefix);
}

void LineStore::AddOwn(const char* text, size_t size, size_t prefix) {
    // A new block when the text does not fit, or its offset would not fit a reference.
    if (ownBlock_ < 0 || blocks_[static_cast<size_t>(ownBlock_)]->size() >= kBlockSize ||
        blocks_[static_cast<size_t>(ownBlock_)]->capacity() - blocks_[static_cast<size_t>(ownBlock_)]->size() < size) {
        blocks_.push_back(std::make_shared<Block>());
        // A line longer than a block gets a block of its own size.
        blocks_.back()->reserve(std::max(kBlockSize, size));
        ownBlock_ = static_cast<long>(blocks_.size() - 1);
    }
    Block& block = *blocks_[static_cast<size_t>(ownBlock_)];
    Ref own{};
    own.block = static_cast<uint32_t>(ownBlock_);
    own.offset = static_cast<uint32_t>(block.size());
    own.size = static_cast<uint32_t>(size) & kMaxLine;
    own.prefix = static_cast<uint32_t>(prefix);
    own.head = 0;
    refs_.push_back(own);
    block.insert(block.end(), text, text + size);
    if (!frontCoded_ && size <= kShortLine) {
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
    if (!frontCoded_) return line.append(blocks_[r.block]->data() + r.offset, r.size);
    // Front coded lines have no head: from the last line kept whole, forward.
    size_t first = index;
    while (first > 0 && refs_[first].prefix != 0) --first;
    for (size_t k = first; k <= index; ++k) {
        line.resize(refs_[k].prefix);
        line.append(blocks_[refs_[k].block]->data() + refs_[k].offset, refs_[k].size);
    }
    return line;
}

}  // namespace ui
