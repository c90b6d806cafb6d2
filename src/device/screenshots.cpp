#include "screenshots.h"

#include "mainwindow/dialog_font.h"
#include "screen_bitmap.h"
#include "link_requests.h"
#include "support/safe_write.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace kvt {
namespace {

constexpr QSize ViewerSize{189, 218};
constexpr QRect ImageGeometry{24, 8, ScreenPixels::Width, ScreenPixels::Height};
constexpr int PollMs = 10;
constexpr int CloseWaitRounds = 99;
constexpr TextPair WaitingForReadText{u"Ожидание конца чтения данных из прибора...",
                                      u"Waiting for the instrument's data read to end..."};

} // namespace

TfrmScreenshot::TfrmScreenshot(Environment environment, QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window), m_env(std::move(environment))
{
    setObjectName(QStringLiteral("frmScreenshot"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The viewer keeps its Russian captions whatever the program's language.
    setWindowTitle(QStringLiteral("Экран прибора"));
    setFixedSize(ViewerSize);
    setFont(smallDialogFont());

    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::Panel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(ImageGeometry);
    DeviceScreenShotImage = new QLabel(this);
    DeviceScreenShotImage->setObjectName(QStringLiteral("DeviceScreenShotImage"));
    DeviceScreenShotImage->setGeometry(ImageGeometry);

    BtnGetPicture = addButton("BtnGetPicture", QStringLiteral("Считать картинку из прибора"), {8, 88, 161, 25});
    BtnPenColor = addButton("BtnPenColor", QStringLiteral("Цвет чернил"), {8, 120, 75, 25});
    BtnBackgroundColor = addButton("BtnBackgroundColor", QStringLiteral("Цвет фона"), {94, 120, 75, 25});
    BtnClose = addButton("BtnClose", QStringLiteral("Закрыть"), {8, 152, 161, 25});
    // Shown while the request waits for the instrument's read to end, so an
    // empty picture is not taken for a failure; in the program's language.
    LabelWaiting = new QLabel(WaitingForReadText.text(m_env.shared.language.load()), this);
    LabelWaiting->setObjectName(QStringLiteral("LabelWaiting"));
    LabelWaiting->setGeometry(8, 182, 173, 30);
    LabelWaiting->setWordWrap(true);
    LabelWaiting->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelWaiting->hide();
    connect(BtnGetPicture, &QPushButton::clicked, this, &TfrmScreenshot::BtnGetPictureClick);
    connect(BtnPenColor, &QPushButton::clicked, this, &TfrmScreenshot::BtnPenColorClick);
    connect(BtnBackgroundColor, &QPushButton::clicked, this, &TfrmScreenshot::BtnBackgroundColorClick);
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::close);

    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &TfrmScreenshot::pollRequest);

    FormCreate(mainWindow);
}

TfrmScreenshot::~TfrmScreenshot()
{
    releaseScreenBuffer(m_env.shared, screenReceiveBuffer);
}

QPushButton *TfrmScreenshot::addButton(const char *name, const QString &caption, QRect geometry)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

void TfrmScreenshot::FormCreate(QWidget *mainWindow)
{
    const QRect main = mainWindow ? mainWindow->frameGeometry() : QRect();
    const QScreen *screen = mainWindow && mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize();
    m_settings = readScreenViewerSettings(m_env.settings, main, ViewerSize, screenSize);
    move(m_settings.position);

    screenFileName = m_env.folder + QStringLiteral("/Screenshot.bmp");
    screenPixels.drawScreenFrame();
    renderScreen();
    BtnGetPictureClick();
}

void TfrmScreenshot::BtnGetPictureClick()
{
    setReadButtonsEnabled(false);
    m_phase = Phase::Posting;
    pollRequest();
    if (m_phase != Phase::Shown)
        m_poll.start();
}

void TfrmScreenshot::pollRequest()
{
    // While the worker reads the measurements or serves a name list, the
    // request waits for it; a search or an idle worker takes it at once.
    if (m_phase == Phase::Posting && postScreenRequest(m_env.shared, screenReceiveBuffer).has_value())
        m_phase = Phase::Waiting;
    LabelWaiting->setVisible(m_phase == Phase::Posting);
    if (m_phase == Phase::Waiting && m_env.shared.linkState != StateReadScreen)
        showReceivedScreen();
}

void TfrmScreenshot::showReceivedScreen()
{
    m_poll.stop();
    m_phase = Phase::Shown;
    LabelWaiting->hide();
    {
        // Whatever the reply left, even after a withdrawal or a new search.
        const std::lock_guard lock(m_env.shared.requestLock);
        screenPixels.decode(screenReceiveBuffer);
    }
    renderScreen();
    setReadButtonsEnabled(true);
}

void TfrmScreenshot::renderScreen()
{
    m_image = screenImage(screenPixels, m_settings.penColor, m_settings.backgroundColor);
    DeviceScreenShotImage->setPixmap(QPixmap::fromImage(m_image));
    if (!screenFileName.isEmpty())
        writeFileSafely(screenFileName, bitmapFileBytes(m_image));
    QGuiApplication::clipboard()->setImage(m_image);
}

void TfrmScreenshot::BtnPenColorClick()
{
    m_settings.penColor = m_env.prompts.askColor(m_settings.penColor).value_or(m_settings.penColor);
    renderScreen();
    writePenColor(m_env.settings, m_settings.penColor);
}

void TfrmScreenshot::BtnBackgroundColorClick()
{
    m_settings.backgroundColor = m_env.prompts.askColor(m_settings.backgroundColor).value_or(m_settings.backgroundColor);
    renderScreen();
    writeBackgroundColor(m_env.settings, m_settings.backgroundColor);
}

void TfrmScreenshot::setReadButtonsEnabled(bool on)
{
    BtnGetPicture->setEnabled(on);
    BtnClose->setEnabled(on);
}

void TfrmScreenshot::closeEvent(QCloseEvent *event)
{
    writeScreenViewerPosition(m_env.settings, pos());
    BtnGetPicture->setEnabled(false);
    BtnPenColor->setEnabled(false);
    BtnBackgroundColor->setEnabled(false);
    m_poll.stop();
    if (m_phase == Phase::Waiting) {
        // The worker gets about a second to answer; then the request is withdrawn.
        for (int round = 0; round < CloseWaitRounds && m_env.shared.linkState == StateReadScreen; ++round) {
            m_env.processEvents();
            m_env.clock.sleepMs(PollMs);
        }
        withdrawRequest(m_env.shared, StateReadScreen);
    }
    m_phase = Phase::Shown;
    releaseScreenBuffer(m_env.shared, screenReceiveBuffer);
    event->accept();
}

} // namespace kvt
