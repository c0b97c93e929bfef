// A full heart recording: the recorder ticks of the experiment screen (model and paper)
// from the first width to the full paper, headless; total time and the time per tick at
// the start and at the end.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "data_files.h"
#include "fakes.h"
#include "frm_heart.h"
#include "heart_run_state.h"
#include "median.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString error;
    if (!data_files::enterDataFolder(&error)) {
        std::printf("%s\n", qPrintable(error));
        return 1;
    }
    std::vector<double> totals, starts, ends;
    for (int run = 0; run < 5; ++run) {
        TestContext t;
        HeartRunState state;
        state.chooseMode(HeartMode::Tutorial);
        Frm_Heart screen(t.ctx, state);
        screen.Form_Load();
        std::vector<double> ticks;
        QElapsedTimer clock, total;
        total.start();
        while (screen.model().paper().width() < PaperScroll::maxWidth) {
            clock.start();
            screen.RecorderTick();
            ticks.push_back(clock.nsecsElapsed() / 1000.0);
        }
        totals.push_back(total.elapsed());
        starts.push_back(median(std::vector<double>(ticks.begin(), ticks.begin() + 1000)));
        ends.push_back(median(std::vector<double>(ticks.end() - 1000, ticks.end())));
    }
    std::printf(
        "full heart recording (%d ticks), median of %zu runs: total %.0f ms; per tick %.1f us at the start, %.1f us at "
        "the end\n",
        16383 - 329, totals.size(), median(totals), median(starts), median(ends));
    return 0;
}
