// Runs batch programs on a fresh state with a recording host and the real text data file.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <ostream>

#include "support/qstring_printer.h"

#include "app/app_state.h"
#include "batch/batch_interpreter.h"
#include "compute/compute_engine.h"
#include "env/text_store.h"
#include "support/program_text.h"
#include "support/recording_host.h"

namespace daybridge::testing {

class BatchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadShippedTexts());
        state.verbose = false;
        state.maxNumErrors = 0;
        state.autoEnlargeBytes = kAutoEnlargeNever;
        state.format.regional = QLocale::c();
    }

    // Runs the lines to the end; the output text.
    QString Run(const QStringList& lines) {
        if (interpreter.StartLines(lines, QStringLiteral("test"))) {
            int slices = 0;
            while (interpreter.RunSlice() && ++slices < 100000) {
            }
        }
        return state.output.text();
    }

    QString T(int id) const { return state.Text(id); }

    AppState state;
    RecordingHost host;
    ComputeEngine engine{state, host};
    BatchInterpreter interpreter{state, host, engine};
};

}  // namespace daybridge::testing
