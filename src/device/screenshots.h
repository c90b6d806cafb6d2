#pragma once

#include "screen_pixels.h"
#include "screen_viewer_settings.h"
#include "link_state.h"
#include "support/clock.h"
#include "support/user_prompts.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace kvt {

// A copy of the instrument's display in two chosen colours. Every new picture
// is also saved as Screenshot.bmp and put on the clipboard.
// Several viewers may be open at once; each reads the screen when it opens.
class TfrmScreenshot final : public QWidget {
    Q_OBJECT
public:
    struct Environment {
        LinkShared &shared;
        SettingsFile &settings;
        UserPrompts &prompts;
        Clock &clock;
        QString folder; // where Screenshot.bmp goes
        std::function<void()> processEvents;
    };

    TfrmScreenshot(Environment environment, QWidget *mainWindow);
    ~TfrmScreenshot() override;

    void BtnGetPictureClick();
    void BtnPenColorClick();
    void BtnBackgroundColorClick();

    const ScreenPixels &pixels() const { return screenPixels; }
    const QImage &image() const { return m_image; }
    bool reading() const { return m_phase != Phase::Shown; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Phase { Shown, Posting, Waiting };

    void FormCreate(QWidget *mainWindow);
    void pollRequest();
    void showReceivedScreen();
    void renderScreen();
    void setReadButtonsEnabled(bool on);
    QPushButton *addButton(const char *name, const QString &caption, QRect geometry);

    Environment m_env;
    ScreenPixels screenPixels;
    ScreenBlock screenReceiveBuffer{};
    QString screenFileName;
    ScreenViewerSettings m_settings;
    QImage m_image;
    QLabel *DeviceScreenShotImage = nullptr;
    QLabel *LabelWaiting = nullptr;
    QPushButton *BtnGetPicture = nullptr;
    QPushButton *BtnPenColor = nullptr;
    QPushButton *BtnBackgroundColor = nullptr;
    QPushButton *BtnClose = nullptr;
    QTimer m_poll;
    Phase m_phase = Phase::Shown;
};

} // namespace kvt
