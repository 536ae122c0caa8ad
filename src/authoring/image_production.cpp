#include "authoring/image_production.h"

#include <algorithm>
#include <tuple>

namespace forge {

void ImageState::SetFailedSource(std::filesystem::path path) {
  std::lock_guard guard(lock_);
  failedSource_ = std::move(path);
}

std::filesystem::path ImageState::FailedSource() const {
  std::lock_guard guard(lock_);
  return failedSource_;
}

TreeLease::TreeLease(std::shared_ptr<ImageState> state) : state_(std::move(state)) {
  state_->liveResults.fetch_add(1);
}

TreeLease::~TreeLease() { state_->liveResults.fetch_sub(1); }

void ProductionFailure::Record(ResultCode code, const std::string& source) {
  std::lock_guard guard(lock_);
  if (code_.load(std::memory_order_relaxed) != ResultOk) return;
  source_ = source;
  code_.store(code, std::memory_order_release);
}

std::string ProductionFailure::Source() const {
  std::lock_guard guard(lock_);
  return source_;
}

namespace {
bool Before(const FileIdentity& a, const FileIdentity& b) {
  return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
}
}  // namespace

void SourceIdentities::Seal() {
  std::sort(identities_.begin(), identities_.end(), Before);
  identities_.erase(std::unique(identities_.begin(), identities_.end()), identities_.end());
  identities_.shrink_to_fit();
}

bool SourceIdentities::Contains(const FileIdentity& identity) const {
  return std::binary_search(identities_.begin(), identities_.end(), identity, Before);
}

}  // namespace forge
