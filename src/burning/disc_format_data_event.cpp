#include "burning/disc_format_data_event.h"

namespace forge {

std::unique_ptr<CDiscFormatDataEvent> CDiscFormatDataEvent::Connect(CDiscFormatData& source,
                                                                   BurnProgressHandler target,
                                                                   ResultCode& error) {
  if (!target || source.sink_ != nullptr) {
    error = ResultInvalidParameter;
    return nullptr;
  }
  error = ResultOk;
  std::unique_ptr<CDiscFormatDataEvent> sink(new CDiscFormatDataEvent(source, std::move(target)));
  source.sink_ = sink.get();
  return sink;
}

CDiscFormatDataEvent::CDiscFormatDataEvent(CDiscFormatData& source, BurnProgressHandler target)
    : source_(&source), target_(std::move(target)) {}

CDiscFormatDataEvent::~CDiscFormatDataEvent() {
  if (source_->sink_ == this) source_->sink_ = nullptr;
}

void CDiscFormatDataEvent::Update(CDiscFormatData& source, const WriteEventArgs& args) {
  BurnProgress progress;
  const auto& v = args.values;
  if (args.action == WriteAction::WritingData || args.action == WriteAction::Finalizing) {
    progress.elapsedTime = v.elapsedTime;
    progress.remainingTime = v.remainingTime;
    progress.totalTime = v.totalTime;
  }
  if (args.action == WriteAction::WritingData) {
    progress.startLba = v.startLba;
    progress.sectorCount = v.sectorCount;
    progress.lastReadLba = v.lastReadLba;
    progress.lastWrittenLba = v.lastWrittenLba;
    progress.totalSystemBuffer = v.totalSystemBuffer;
    progress.usedSystemBuffer = v.usedSystemBuffer;
    progress.freeSystemBuffer = v.freeSystemBuffer;
  }
  if (target_(args.action, progress) == 0) source.CancelWrite();
}

}  // namespace forge
