#include "http/host_mapping.h"

#include <charconv>
#include <mutex>

namespace zelmora {
namespace {

struct MappingStore {
  std::mutex mutex;
  std::shared_ptr<const std::vector<HostMapping>> mappings =
      std::make_shared<const std::vector<HostMapping>>();
};

MappingStore& Store() {
  static MappingStore store;
  return store;
}

// Takes the next field up to ':' from `rest`; a field that starts with '['
// runs to the matching ']' so that IPv6 addresses keep their colons.
std::optional<std::string_view> NextField(std::string_view& rest, bool last) {
  std::size_t end = 0;
  if (!rest.empty() && rest.front() == '[') {
    end = rest.find(']');
    if (end == std::string_view::npos) return std::nullopt;
    ++end;
  }
  end = last ? rest.size() : rest.find(':', end);
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(last ? rest.size() : end + 1);
  return field;
}

// A host name, an IPv4 address or an IPv6 address in brackets; never a
// space, a control character or a comma, which would change the meaning of
// the mapping where it is handed on.
bool IsHost(std::string_view host) {
  const bool bracketed = !host.empty() && host.front() == '[';
  if (bracketed && (host.size() < 3 || host.back() != ']')) return false;
  const std::string_view inner = bracketed ? host.substr(1, host.size() - 2) : host;
  for (const char c : inner) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == ',' || c == '[' || c == ']') return false;
    if (c == ':' && !bracketed) return false;
  }
  return true;
}

bool IsPort(std::string_view port) {
  if (port.empty()) return true;
  int value = 0;
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
  return error == std::errc() && end == port.data() + port.size() && value >= 1 && value <= 65535 &&
         port.front() != '+';
}

}  // namespace

std::optional<HostMapping> ParseHostMapping(std::string_view text) {
  std::string_view fields[4];
  for (int i = 0; i < 4; ++i) {
    const std::optional<std::string_view> field = NextField(text, i == 3);
    if (!field) return std::nullopt;
    fields[i] = *field;
  }
  if (!IsHost(fields[0]) || !IsPort(fields[1]) || !IsHost(fields[2]) || !IsPort(fields[3])) {
    return std::nullopt;
  }
  return HostMapping{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                     std::string(fields[3])};
}

std::string FormatHostMapping(const HostMapping& mapping) {
  return mapping.host + ":" + mapping.port + ":" + mapping.connectHost + ":" + mapping.connectPort;
}

void SetHostMappings(std::vector<HostMapping> mappings) {
  auto shared = std::make_shared<const std::vector<HostMapping>>(std::move(mappings));
  MappingStore& store = Store();
  std::lock_guard lock(store.mutex);
  store.mappings = std::move(shared);
}

std::shared_ptr<const std::vector<HostMapping>> HostMappings() {
  MappingStore& store = Store();
  std::lock_guard lock(store.mutex);
  return store.mappings;
}

}  // namespace zelmora
