#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace newsbell {

// Lets whoever keeps a plain pointer to an object hear when the object goes away, so the
// pointer can be cleared before anyone follows it. A watch lasts as long as the watcher keeps
// the handle it got. User-interface thread only.
class RemovalNotice {
public:
    using Watch = std::shared_ptr<const std::function<void()>>;

    RemovalNotice() = default;
    // A copy is another object: nobody watches it yet.
    RemovalNotice(const RemovalNotice&) {}
    RemovalNotice& operator=(const RemovalNotice&) { return *this; }
    ~RemovalNotice() {
        const auto watchers = std::move(watchers_);
        for (const auto& watcher : watchers)
            if (const Watch watch = watcher.lock()) (*watch)();
    }

    [[nodiscard]] Watch watchRemoval(std::function<void()> onRemoval) const {
        std::erase_if(watchers_, [](const auto& watcher) { return watcher.expired(); });
        auto watch = std::make_shared<const std::function<void()>>(std::move(onRemoval));
        watchers_.push_back(watch);
        return watch;
    }

private:
    mutable std::vector<std::weak_ptr<const std::function<void()>>> watchers_;
};

} // namespace newsbell
