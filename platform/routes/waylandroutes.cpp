#include "platform/routes/waylandroutes.h"

#include "platform/routes/clipboardhandover.h"

namespace pw {

WaylandRoute::WaylandRoute(std::unique_ptr<wayland::Connection> connection) : connection_(std::move(connection)) {
  QObject::connect(&events_, &QSocketNotifier::activated, [this] { connection_->dispatch(); });
}

void WaylandRoute::handOver() {
  if (const std::string* text = clipboard_.ownText()) handOverClipboard("pagewick-wayland-clipboard", *text);
}

}  // namespace pw
