// SPDX-License-Identifier: MIT
#pragma once
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace cadhost {

// Shows what the stand-in host was asked to do: the drawing it opened (path
// and content) and the latest calls, as the journal records them.
class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    // The list keeps the latest calls; the journal keeps them all.
    static constexpr int kShownCalls = 1000;

    explicit HostWindow(const QString& journalPath, QWidget* parent = nullptr);

    // Shown with the next refresh of the list, a few times a second: a burst
    // of calls is laid out once, not once per call.
    void showCall(const QString& journalLine);
    void showDrawing(const QString& path, bool readOnly, const QString& content);

protected:
    // Closing the window ends the host, as closing the CAD program would;
    // hiding it (Visible false) does not.
    void closeEvent(QCloseEvent* event) override;

private:
    void showPendingCalls();

    QLabel* drawingPath_;
    QPlainTextEdit* drawingContent_;
    QListWidget* calls_;
    QStringList pendingCalls_;
    QTimer callRefresh_;
};

} // namespace cadhost
