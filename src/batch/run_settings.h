// The settings of a batch run: the statements that change them, the summary that names them,
// and the date format they make. The separators and the working days a program sets last only
// for its run.
#pragma once

#include <QString>

#include "app/app_state.h"
#include "app/output_text.h"
#include "batch/program.h"
#include "datetext/text_format.h"
#include "workdays/workday_calendar.h"

namespace daybridge::batch {

class Reporter;

class RunSettings {
  public:
    RunSettings(AppState& state, OutputText& output, const Reporter& report);

    // At the start of a run: what the run may change is kept; at its end it is put back.
    void Begin();
    void End();

    // A settings statement; false when the value was refused (echoed in the output).
    bool Apply(const ProgramLine& line, const SettingStatement& s);
    // The summary in verbose mode: whole at the start, then whenever it changes.
    void ShowSummary();

    // The format in force, refreshed when a setting changes it.
    const TextFormat& Format() const { return format_; }

    QString folder;  // HOLIDAYS= files are read from here; empty: the current folder

  private:
    QString T(int id) const;
    void Refresh();
    void EchoRejected(const ProgramLine& line, bool separator);
    bool ApplyDateFormat(const ProgramLine& line, const QString& value);
    // FIRSTDATE= and SECONDDATE=.
    bool ApplyCalendar(const ProgramLine& line, Setting which, const QString& value);
    // WEEKEND=, HOLIDAYS=, CATEGORIES= and HALFDAYS=.
    bool ApplyWorkdays(const ProgramLine& line, Setting which, const QString& value);
    QString SummaryText() const;
    QString WorkdaySummaryText() const;

    AppState& state_;
    OutputText& output_;
    const Reporter& report_;
    TextFormat format_;
    QString lastSummary_;
    QString savedDateSeparator_;
    QString savedThousandsSeparator_;
    WorkdayCalendar savedWorkdays_;  // the window's choice; WEEKEND= and HOLIDAYS= last a run
};

}  // namespace daybridge::batch
