// SPDX-License-Identifier: MIT
#include "desktop_main.h"
#include "desktop_report.h"
#include "medium/platform_medium.h"
#include "run_check.h"
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("3D TALVEX catalogue check");

// A folder is an install root, a file a catalogue: one question, then the
// dialog that fits. Empty when the user cancels.
QString AskForInput()
{
    QMessageBox question(QMessageBox::Question, kTitle,
                         QStringLiteral("Check an install root (the folder with Database, Docs and "
                                        "Files) or a catalogue file (TALVEX.mdb)?"));
    QPushButton* root = question.addButton(QStringLiteral("Install root…"), QMessageBox::AcceptRole);
    QPushButton* file = question.addButton(QStringLiteral("Catalogue file…"), QMessageBox::AcceptRole);
    question.addButton(QMessageBox::Cancel);
    question.exec();
    if (question.clickedButton() == root)
        return QFileDialog::getExistingDirectory(nullptr, kTitle + QStringLiteral(": install root"));
    if (question.clickedButton() == file) {
        return QFileDialog::getOpenFileName(nullptr, kTitle + QStringLiteral(": catalogue"), QString(),
                                            QStringLiteral("Access catalogue (*.mdb);;All files (*)"));
    }
    return {};
}

} // namespace

int RunFromDesktop(const QString& given)
{
    const QString input = given.isEmpty() ? AskForInput() : given;
    if (input.isEmpty())
        return check::kUnreadableInput;

    QWidget window;
    window.setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(&window);
    auto* what = new QLabel(QStringLiteral("Checking %1").arg(QDir::toNativeSeparators(input)), &window);
    auto* stage = new QLabel(QStringLiteral("reading the catalogue…"), &window);
    layout->addWidget(what);
    layout->addWidget(stage);
    window.setMinimumWidth(420);
    window.show();
    QApplication::processEvents();

    // Every stage is told at once; the window is painted between the steps.
    check::Progress progress(
        [&](const QString& line) {
            stage->setText(line + QStringLiteral("…"));
            QApplication::processEvents();
        },
        0, 100);
    const auto shell = medium::CreatePlatformDesktopShell();
    const check::DesktopReport report =
        check::CheckForDesktop(input, QDir::tempPath(), QDateTime::currentDateTime(), progress, *shell);
    window.hide();
    if (!report.message.isEmpty()) {
        QMessageBox box(report.status == check::kUnreadableInput ? QMessageBox::Critical : QMessageBox::Warning,
                        kTitle, report.message);
        box.exec();
    }
    return report.status;
}
