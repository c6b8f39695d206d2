#include "http/curl_shared_cache.h"

#include <array>
#include <mutex>
#include <vector>

namespace zelmora {
namespace {

// One lock per kind of shared data, as libcurl asks.
class ShareLocks {
 public:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<ShareLocks*>(self)->mutexes_[Index(data)].lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<ShareLocks*>(self)->mutexes_[Index(data)].unlock();
  }

 private:
  static std::size_t Index(curl_lock_data data) {
    const auto index = static_cast<std::size_t>(data);
    return index < CURL_LOCK_DATA_LAST ? index : 0;
  }

  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

CURLSH* MakeShare() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  // Never freed: requests of any thread may use it until the process ends.
  static ShareLocks locks;
  CURLSH* share = curl_share_init();
  if (share == nullptr) return nullptr;
  curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &ShareLocks::Lock);
  curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &ShareLocks::Unlock);
  curl_share_setopt(share, CURLSHOPT_USERDATA, &locks);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  return share;
}

// Idle handles; more than this many are freed rather than kept.
constexpr std::size_t kMaxIdleHandles = 16;

struct EasyHandlePool {
  std::mutex mutex;
  std::vector<CURL*> idle;
};

EasyHandlePool& Pool() {
  // Never freed, like the share: a thread may give a handle back at exit.
  static EasyHandlePool* const pool = new EasyHandlePool;
  return *pool;
}

}  // namespace

CURLSH* SharedCurlCache() {
  static CURLSH* const share = MakeShare();
  return share;
}

CURL* AcquireEasyHandle() {
  if (SharedCurlCache() == nullptr) return nullptr;
  EasyHandlePool& pool = Pool();
  {
    std::lock_guard lock(pool.mutex);
    if (!pool.idle.empty()) {
      CURL* easy = pool.idle.back();
      pool.idle.pop_back();
      return easy;
    }
  }
  return curl_easy_init();
}

void ReleaseEasyHandle(CURL* easy) {
  if (easy == nullptr) return;
  curl_easy_reset(easy);
  EasyHandlePool& pool = Pool();
  {
    std::lock_guard lock(pool.mutex);
    if (pool.idle.size() < kMaxIdleHandles) {
      pool.idle.push_back(easy);
      return;
    }
  }
  curl_easy_cleanup(easy);
}

}  // namespace zelmora
