// One ileum injection (the model and the drawing, without the one-second syringe pause)
// on a fresh paper and on the 398th, the last that fits.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "fakes.h"
#include "ileum_model.h"
#include "ileum_recorder.h"
#include "median.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<double> first, last;
    for (int run = 0; run < 9; ++run) {
        TestContext t;
        IleumModel model;
        QWidget host;
        auto* dose = new QLineEdit(QStringLiteral("0.8"), &host);
        auto* rec = new IleumRecorder(t.ctx, model, &host);
        rec->setControls({dose, nullptr, nullptr, nullptr, {}});
        rec->SetupRecorder();
        t.random.values = {0.5, 0.25};  // RefY 182, Sensitivity 2.0
        model.startExperiment(t.random);
        QElapsedTimer clock;
        for (int i = 1; i <= 398; ++i) {
            rec->Cmd_inject_Click();
            clock.start();
            rec->finishInjection();
            const double us = clock.nsecsElapsed() / 1000.0;
            if (i == 1) first.push_back(us);
            if (i == 398) last.push_back(us);
        }
        if (rec->paper().width() != RecordingPaper::maxWidth) std::printf("paper not full!\n");
    }
    std::printf("ileum injection (model + drawing), median of %zu runs: first %.1f us, 398th %.1f us\n", first.size(),
                median(first), median(last));
    return 0;
}
