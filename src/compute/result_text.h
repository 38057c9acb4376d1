// A computation's result and faults as the person sees them: the result line, the window's
// message boxes and the fields it writes back.
#pragma once

#include <QString>

#include "app/app_state.h"
#include "app/host.h"
#include "app/output_text.h"
#include "compute/compute_engine.h"

namespace daybridge {

// Appends the line a result is shown with, without its line end: "2012-01-06 CE to
// 2012-01-09 CE = 3 days, excluding first date", "2012-01-06 plus 3 days = 2012-01-09 CE,
// Monday, …"; nothing when nothing was computed.
void AppendResultLine(const ComputeResult& result, const AppState& state, OutputText& output);

// The window's way of computing (also the runner's --compute): runs the engine on the three
// texts and writes back the fields it read or computed (the texts given and the state's field
// texts, these outside a batch run); shows a fault in a message box (a world calendar's date that
// cannot be read says why), a result out of range in the output too; appends the result line. False
// when a fault was shown.
bool ComputeAndShow(const ComputeEngine& engine, AppState& state, Host& host, QString& first,
                    QString& difference, QString& second, ComputeResult* result = nullptr);

}  // namespace daybridge
