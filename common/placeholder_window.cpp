#include "placeholder_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "program_context.h"
#include "window_helpers.h"

PlaceholderWindow::PlaceholderWindow(ProgramContext& ctx, const QString& experiment, quint8 mode,
                                     const QString& homeWindow) {
    setWindowTitle(experiment);
    setFixedSize(480, 220);
    RemoveSysMenuItems(this);
    discardWindowKeys(this);

    const QString modeText = mode == 1 ? QStringLiteral("Обучение") : QStringLiteral("Проверка");
    auto* text = new QLabel(QStringLiteral("<b>%1</b><br><br>Режим: %2<br><br>Экран этого опыта ещё в разработке.")
                                .arg(experiment.toHtmlEscaped(), modeText),
                            this);
    text->setObjectName(QStringLiteral("Lab_Placeholder"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    auto* back = new QPushButton(QStringLiteral("Назад"), this);
    back->setObjectName(QStringLiteral("Cmd_Back"));
    connect(back, &QPushButton::clicked, this, [this, &ctx, homeWindow] {
        ctx.navigator.open(homeWindow);
        close();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text, 1);
    layout->addWidget(back, 0, Qt::AlignHCenter);
    CenterForm(ctx, this);
}
