// The event sink of a burn: connected to the data writer for the length of one write, it hands
// every progress event synchronously to the burn window's handler and cancels the write when
// the handler answers 0. Lives on the burning thread and keeps no state between events.
#pragma once

#include <memory>

#include "app/result_codes.h"
#include "burning/burn_progress.h"
#include "burning/disc_format_data.h"

namespace forge {

class CDiscFormatDataEvent {
 public:
  // Connects a new sink to `source`, forwarding to `target`. Null, with `error` set, when the
  // forwarding cannot be set up: no target, or the source has a sink already.
  static std::unique_ptr<CDiscFormatDataEvent> Connect(CDiscFormatData& source,
                                                      BurnProgressHandler target,
                                                      ResultCode& error);
  // Disconnects from the source.
  ~CDiscFormatDataEvent();
  CDiscFormatDataEvent(const CDiscFormatDataEvent&) = delete;
  CDiscFormatDataEvent& operator=(const CDiscFormatDataEvent&) = delete;

  // One event of `source`: the record carries the three times for writing and finalising, the
  // sector numbers and buffers for writing only, nothing for the other actions.
  void Update(CDiscFormatData& source, const WriteEventArgs& args);

 private:
  CDiscFormatDataEvent(CDiscFormatData& source, BurnProgressHandler target);

  CDiscFormatData* source_;
  BurnProgressHandler target_;
};

}  // namespace forge
