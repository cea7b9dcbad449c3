#include "platform/wayland/dataclipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/posix/fd.h"
#include "platform/runtimeerror.h"
#include "platform/wayland/connection.h"
#include "wlr-data-control-unstable-v1.h"

namespace pw::wayland {
namespace {

// Best first; what every toolkit offers for plain text.
const char* const kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "TEXT", "STRING"};

RuntimeError notAnswering() {
  return RuntimeError(err::ClipboardBusy, u"The program that holds the clipboard does not answer.");
}

// ext-data-control-v1 is the wlroots data control adopted under new names, its requests and events
// the same in number, order and arguments (KWin 6.7 offers only it). Only a global is bound by its
// interface's name, so with the manager bound under the new name the same code speaks both.
const wl_interface kExtManager = [] {
  wl_interface manager = zwlr_data_control_manager_v1_interface;
  manager.name = "ext_data_control_manager_v1";
  manager.version = 1;
  return manager;
}();

// The standard's manager where the compositor offers it, else the wlroots one; null for none.
const wl_interface* managerOf(const Connection& connection) {
  for (const wl_interface* manager : {&kExtManager, &zwlr_data_control_manager_v1_interface}) {
    if (connection.offers(manager->name)) return manager;
  }
  return nullptr;
}

}  // namespace

struct DataClipboard::Offer {
  zwlr_data_control_offer_v1* proxy;
  std::vector<std::string> types;
  // Its owner once sent nothing for as long as we wait: the retries of a read then fail at once
  // instead of freezing the window for each of them.
  bool silent = false;
  ~Offer() { zwlr_data_control_offer_v1_destroy(proxy); }
  // The best text type on offer; null when there is none (Chromium first announces an empty offer).
  const char* textType() const {
    for (const char* type : kTextTypes) {
      if (std::find(types.begin(), types.end(), type) != types.end()) return type;
    }
    return nullptr;
  }
};

bool DataClipboard::supported(const Connection& connection) { return managerOf(connection) != nullptr; }

const char* DataClipboard::interfaces() { return "ext_data_control_manager_v1 or zwlr_data_control_manager_v1"; }

DataClipboard::DataClipboard(Connection& connection, int answerMs)
    : connection_(connection),
      answerMs_(answerMs),
      manager_(static_cast<zwlr_data_control_manager_v1*>(connection.bind(*managerOf(connection), 1))),
      device_(zwlr_data_control_manager_v1_get_data_device(manager_, connection.seat())) {
  static const zwlr_data_control_offer_v1_listener offerListener{
      .offer = [](void* data, zwlr_data_control_offer_v1*, const char* type) {
        static_cast<Offer*>(data)->types.emplace_back(type);
      }};
  static const zwlr_data_control_device_v1_listener deviceListener{
      .data_offer =
          [](void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* proxy) {
            auto& self = *static_cast<DataClipboard*>(data);
            self.arriving_.reset(new Offer{proxy, {}});
            zwlr_data_control_offer_v1_add_listener(proxy, &offerListener, self.arriving_.get());
          },
      .selection =
          [](void* data, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* proxy) {
            auto& self = *static_cast<DataClipboard*>(data);
            ++self.selections_;
            self.offer_.reset(proxy && self.arriving_ && self.arriving_->proxy == proxy ? self.arriving_.release() : nullptr);
          },
      .finished = [](void*, zwlr_data_control_device_v1*) {},
      .primary_selection = [](void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {},
  };
  zwlr_data_control_device_v1_add_listener(device_, &deviceListener, this);
  connection.roundtrip();
}

DataClipboard::~DataClipboard() {
  offer_.reset();
  arriving_.reset();
  if (source_) zwlr_data_control_source_v1_destroy(source_);
  zwlr_data_control_device_v1_destroy(device_);
  zwlr_data_control_manager_v1_destroy(manager_);
}

void DataClipboard::select(zwlr_data_control_source_v1* source) {
  // The old source goes only once the new selection is in place: KWin kept offering a destroyed
  // source, whose readers then waited for ever.
  const int seen = selections_;
  zwlr_data_control_device_v1_set_selection(device_, source);
  connection_.roundtrip();  // our own selection event has come back, where the compositor sends it
  // Mir sends none: the offer held before is gone all the same, and reading it gives nothing.
  if (selections_ == seen) offer_.reset();
  if (source_) zwlr_data_control_source_v1_destroy(source_);
  source_ = source;
}

void DataClipboard::clear() {
  ownText_.clear();
  select(nullptr);
}

void DataClipboard::setText(TextView text, std::optional<int> format) {
  checkTextFormat(format);
  static const zwlr_data_control_source_v1_listener listener{
      .send =
          [](void* data, zwlr_data_control_source_v1*, const char*, int fd) {
            posix::Fd out(fd);
            static_cast<DataClipboard*>(data)->serve(fd);
          },
      .cancelled =
          [](void* data, zwlr_data_control_source_v1* source) {
            auto& self = *static_cast<DataClipboard*>(data);
            zwlr_data_control_source_v1_destroy(source);
            if (self.source_ == source) self.source_ = nullptr;
          },
  };
  auto* source = zwlr_data_control_manager_v1_create_data_source(manager_);
  zwlr_data_control_source_v1_add_listener(source, &listener, this);
  for (const char* type : kTextTypes) zwlr_data_control_source_v1_offer(source, type);
  ownText_ = toUtf8(text);
  select(source);
}

// A reader that stops reading must not freeze the window: one that takes nothing for as long as
// a silent owner may take is given up on.
void DataClipboard::serve(int fd) const {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  for (std::size_t done = 0; done < ownText_.size();) {
    pollfd ready{fd, POLLOUT, 0};
    if (::poll(&ready, 1, answerMs_) <= 0) return;
    const ssize_t n = ::write(fd, ownText_.data() + done, ownText_.size() - done);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string DataClipboard::receive(const char* type) {
  posix::Fd in, out;
  if (!posix::openPipe(in, out)) throw RuntimeError(err::ClipboardBusy, u"The clipboard cannot be read now.");
  zwlr_data_control_offer_v1_receive(offer_->proxy, type, out.get());  // takes a copy of the end
  out.close();
  connection_.dispatch();
  std::string bytes;
  if (!posix::readPipe(in.get(), bytes, answerMs_)) {
    offer_->silent = true;
    throw notAnswering();
  }
  return bytes;
}

Text DataClipboard::text(std::optional<int> format) {
  checkTextFormat(format);
  connection_.dispatch();
  if (source_) return fromUtf8(ownText_);
  if (offer_ && offer_->silent) {
    throw notAnswering();
  }
  const char* type = offer_ ? offer_->textType() : nullptr;
  return type ? fromUtf8(receive(type)) : Text();
}

bool DataClipboard::hasText() {
  connection_.dispatch();
  return source_ ? !ownText_.empty() : offer_ && !offer_->silent && offer_->textType();
}

}  // namespace pw::wayland
