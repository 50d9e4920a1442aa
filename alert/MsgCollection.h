#pragma once

#include "base/Color.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace newsbell {

// The lines of one alert message (cp1251 mini-HTML). Every change is reported through the
// change callback, which the owning item forwards to its collection.
class TMessageLines {
public:
    int Count() const { return int(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(size_t(index)); }
    const std::vector<std::string>& lines() const { return lines_; }

    void Add(std::string line);
    void Clear();
    // Replaces the lines with text split at CR LF, CR or LF; a final break adds no empty line.
    void SetText(std::string_view text);
    void Assign(const TMessageLines& source);
    // The lines put together without any separator, as the popup shows them.
    std::string joined() const;

    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    void changed() const;

    std::vector<std::string> lines_;
    std::function<void()> onChange_;
};

class TMsgCollection;

// One alert message with the settings the popup shows it with.
class TMsgCollectionItem {
public:
    explicit TMsgCollectionItem(TMsgCollection& collection);
    TMsgCollectionItem(const TMsgCollectionItem&) = delete;
    TMsgCollectionItem& operator=(const TMsgCollectionItem&) = delete;

    TMessageLines& Text() { return text_; }
    const TMessageLines& Text() const { return text_; }
    void SetText(const TMessageLines& text) { text_.Assign(text); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor color);

    // Position in the collection.
    int Index() const;

    int ImageIndex = 0;
    int Tag = 0;

private:
    TMsgCollection& collection_;
    TMessageLines text_;
    TColor color_ = clNone;
    TColor colorTo_ = clNone;
};

// The alert component's message list. The owner sets two hooks: the change hook (an item's
// text or colours changed) and the delete hook (an item is about to go, with its index).
class TMsgCollection {
public:
    explicit TMsgCollection(QObject* owner = nullptr) : owner_(owner) {}
    TMsgCollection(const TMsgCollection&) = delete;
    TMsgCollection& operator=(const TMsgCollection&) = delete;
    ~TMsgCollection();

    QObject* GetOwner() const { return owner_; }

    int Count() const { return int(items_.size()); }
    TMsgCollectionItem& Add();
    // Both fail with "Invalid Index" for an index the list does not have.
    TMsgCollectionItem& Items(int index) const;
    void Delete(int index);
    // Frees the items from the last to the first, each raising the delete hook.
    void Clear();

    void setChangeHook(std::function<void()> hook) { changeHook_ = std::move(hook); }
    void setDeleteHook(std::function<void(int)> hook) { deleteHook_ = std::move(hook); }
    const std::function<void(int)>& deleteHook() const { return deleteHook_; }

private:
    friend class TMsgCollectionItem;
    void itemChanged() const;
    int indexOf(const TMsgCollectionItem& item) const;

    QObject* owner_;
    std::vector<std::unique_ptr<TMsgCollectionItem>> items_;
    std::function<void()> changeHook_;
    std::function<void(int)> deleteHook_;
};

// Fails with "Invalid Index" unless 0 <= index < count.
void checkMessageIndex(int index, int count);

} // namespace newsbell
