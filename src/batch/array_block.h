// An ARRAY block of a batch run: while it is open, statement lines are its elements.
#pragma once

#include <QString>
#include <cstdint>

#include "batch/program.h"
#include "batch/run_scope.h"
#include "calendar/calendar_registry.h"

namespace daybridge::batch {

class Reporter;

class ArrayBlock {
  public:
    void Reset();
    bool Active() const { return active_; }

    Flow Header(const ProgramLine& line, RunScope& scope, Reporter& report);
    Flow Element(const ProgramLine& line, RunScope& scope, Reporter& report);
    Flow End(Reporter& report);

  private:
    bool active_ = false;
    QString name_;
    CalendarId calendar_ = kDefaultCalendar;
    QString mask_;
    int counter_ = 0;
    std::int32_t lastValue_ = 0;  // an element that cannot be read takes the one before
};

}  // namespace daybridge::batch
