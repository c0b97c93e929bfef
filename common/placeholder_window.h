#pragma once

#include <QWidget>

class ProgramContext;

// Stands in for an experiment screen that is not built yet: names the experiment and
// the mode and leads back to the experiment's home screen.
class PlaceholderWindow : public QWidget {
    Q_OBJECT
public:
    PlaceholderWindow(ProgramContext& ctx, const QString& experiment, quint8 mode, const QString& homeWindow);
};
