#include "http/request_object.h"

#include <algorithm>
#include <mutex>

namespace zelmora {
namespace {

struct BackendTable {
  std::mutex mutex;
  std::vector<const RequestObjectBackend*> backends;
};

// Built on first use, so that backends may register from static objects of
// other files in any order.
BackendTable& Table() {
  static BackendTable table;
  return table;
}

std::vector<const RequestObjectBackend*> Backends() {
  BackendTable& table = Table();
  std::lock_guard lock(table.mutex);
  return table.backends;
}

}  // namespace

bool AutomationObject::SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) const {
  return object_ && object_->SetTimeouts(resolveMs, connectMs, sendMs, receiveMs);
}

bool AutomationObject::SetProxy(int setting, const Text& server) const {
  return object_ && object_->SetProxy(setting, server);
}

bool AutomationObject::Open(const Text& method, const Text& url, bool async) const {
  return object_ && object_->Open(method, url, async);
}

bool AutomationObject::Option(int index, int value) const {
  return object_ && object_->Option(index, value);
}

bool AutomationObject::SetRequestHeader(const Text& name, const Text& value) const {
  return object_ && object_->SetRequestHeader(name, value);
}

bool AutomationObject::Send(const RequestBody& body) const {
  return object_ && object_->Send(body);
}

std::optional<ByteSet> AutomationObject::ResponseBody() const {
  return object_ ? object_->ResponseBody() : std::nullopt;
}

std::optional<Text> AutomationObject::GetAllResponseHeaders() const {
  return object_ ? object_->GetAllResponseHeaders() : std::nullopt;
}

std::optional<int> AutomationObject::Status() const {
  return object_ ? object_->Status() : std::nullopt;
}

std::optional<Text> AutomationObject::StatusText() const {
  return object_ ? object_->StatusText() : std::nullopt;
}

void RegisterRequestObjectBackend(const RequestObjectBackend* backend) {
  if (backend == nullptr) return;
  BackendTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.backends.push_back(backend);
}

std::vector<const RequestObjectBackend*> ReplaceRequestObjectBackends(
    std::vector<const RequestObjectBackend*> backends) {
  BackendTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::swap(table.backends, backends);
  return backends;
}

AutomationObject CreateAutomationObject(std::string_view progId) {
  for (const RequestObjectBackend* backend : Backends()) {
    if (backend->progId != progId || backend->create == nullptr) continue;
    std::unique_ptr<RequestObject> object = backend->create();
    if (object) return AutomationObject(std::move(object));
  }
  return AutomationObject();
}

RequestThreadScope::RequestThreadScope() : prepared_(Backends()) {
  for (const RequestObjectBackend* backend : prepared_) {
    if (backend->prepareThread != nullptr) backend->prepareThread();
  }
}

RequestThreadScope::~RequestThreadScope() {
  for (auto it = prepared_.rbegin(); it != prepared_.rend(); ++it) {
    if ((*it)->releaseThread != nullptr) (*it)->releaseThread();
  }
}

}  // namespace zelmora
