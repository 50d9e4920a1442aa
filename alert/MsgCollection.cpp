#include "alert/MsgCollection.h"

#include "base/Error.h"

#include <algorithm>

namespace newsbell {

void checkMessageIndex(int index, int count) {
    if (index < 0 || index >= count) throw Error("Invalid Index");
}

void TMessageLines::changed() const {
    if (onChange_) onChange_();
}

void TMessageLines::Add(std::string line) {
    lines_.push_back(std::move(line));
    changed();
}

void TMessageLines::Clear() {
    if (lines_.empty()) return;
    lines_.clear();
    changed();
}

void TMessageLines::SetText(std::string_view text) {
    lines_.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    changed();
}

void TMessageLines::Assign(const TMessageLines& source) {
    if (&source == this) return;
    lines_ = source.lines_;
    changed();
}

std::string TMessageLines::joined() const {
    std::string text;
    for (const std::string& line : lines_) text += line;
    return text;
}

TMsgCollectionItem::TMsgCollectionItem(TMsgCollection& collection) : collection_(collection) {
    text_.setOnChange([this] { collection_.itemChanged(); });
}

void TMsgCollectionItem::SetColor(TColor color) {
    color_ = color;
    collection_.itemChanged();
}

void TMsgCollectionItem::SetColorTo(TColor color) {
    colorTo_ = color;
    collection_.itemChanged();
}

int TMsgCollectionItem::Index() const {
    return collection_.indexOf(*this);
}

TMsgCollection::~TMsgCollection() {
    // The owner is going away with its hooks; the items go quietly.
    changeHook_ = nullptr;
    deleteHook_ = nullptr;
    items_.clear();
}

TMsgCollectionItem& TMsgCollection::Add() {
    items_.push_back(std::make_unique<TMsgCollectionItem>(*this));
    return *items_.back();
}

TMsgCollectionItem& TMsgCollection::Items(int index) const {
    checkMessageIndex(index, Count());
    return *items_[size_t(index)];
}

void TMsgCollection::Delete(int index) {
    checkMessageIndex(index, Count());
    // The hook sees the item still in the list, at the index it is leaving.
    if (deleteHook_) deleteHook_(index);
    items_.erase(items_.begin() + index);
}

void TMsgCollection::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

void TMsgCollection::itemChanged() const {
    if (changeHook_) changeHook_();
}

int TMsgCollection::indexOf(const TMsgCollectionItem& item) const {
    const auto found = std::find_if(items_.begin(), items_.end(), [&](const auto& candidate) {
        return candidate.get() == &item;
    });
    return found == items_.end() ? -1 : int(found - items_.begin());
}

} // namespace newsbell
