#include "app/LinkLine.h"

#include "links/WebAddress.h"

namespace almanac {
namespace {

constexpr COLORREF kLinkTextColour = RGB(0, 0, 208);
constexpr int kAskWhileNoLink = 60;  // ticks
constexpr int kAskOnceLinked = 3600;

}  // namespace

LinkLine::LinkLine(LinkServer server, HWND window, UINT fetchedMessage)
    : window_(window), fetchedMessage_(fetchedMessage), fetcher_(std::move(server)) {}

void LinkLine::Create(const RECT& rect, int id, const win::DpiScale& scale, const std::string& target,
                      const std::string& caption) {
    label_.Create(rect, window_, id, GetSysColor(COLOR_BTNFACE), kLinkTextColour, 100, "宋体", scale);
    if (caption.empty()) return;
    target_ = target;
    caption_ = caption;
    label_.SetCaption(caption_, true);
}

void LinkLine::Rescale(const RECT& rect, const win::DpiScale& scale) { label_.Rescale(rect, scale); }

// One fetch at a time, off this thread; the result comes back as a message.
void LinkLine::OnTick(int tick) {
    if (tick % kAskWhileNoLink != 0 || (!caption_.empty() && tick % kAskOnceLinked != 0)) return;
    fetcher_.Start([window = window_, message = fetchedMessage_, mailbox = mailbox_](std::optional<RemoteLink> link) {
        if (!link) return;
        {
            std::lock_guard lock(mailbox->mutex);
            mailbox->link = std::move(link);
        }
        PostMessageW(window, message, 0, 0);
    });
}

void LinkLine::TakeFetchedLink() {
    std::optional<RemoteLink> link;
    {
        std::lock_guard lock(mailbox_->mutex);
        link.swap(mailbox_->link);
    }
    if (!link) return;
    target_ = std::move(link->target);
    caption_ = std::move(link->caption);
    label_.SetCaption(caption_, true);
}

void LinkLine::Open() const {
    if (!target_.empty()) OpenWebAddress(target_);
}

}  // namespace almanac
