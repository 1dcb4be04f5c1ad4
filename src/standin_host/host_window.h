#pragma once
#include <QMainWindow>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace cadhost {

// Shows what the stand-in host was asked to do: the drawing it opened (path
// and content) and every call, as the journal records it.
class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HostWindow(const QString& journalPath, QWidget* parent = nullptr);

    void showCall(const QString& journalLine);
    void showDrawing(const QString& path, bool readOnly, const QString& content);

protected:
    // Closing the window ends the host, as closing the CAD program would;
    // hiding it (Visible false) does not.
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* drawingPath_;
    QPlainTextEdit* drawingContent_;
    QListWidget* calls_;
};

} // namespace cadhost
