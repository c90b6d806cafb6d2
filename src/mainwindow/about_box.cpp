#include "about_box.h"

#include "about_texts.h"
#include "dialog_font.h"
#include "program_icon.h"
#include "shell_open.h"
#include "support/common_texts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

namespace kvt {
namespace {

// The box is laid out for the 8-point dialog font. It is 8 pixels wider than
// its first design, so that the longest Russian version line ("... от 30
// сентября ... г.") still ends inside the panel in the widest of that font's
// fallbacks.
constexpr QSize ClientSize{320, 259};
constexpr QRect PanelGeometry{8, 8, 305, 201};
constexpr QRect OkGeometry{120, 220, 75, 25};

} // namespace

TAboutBox::TAboutBox(Language language, QWidget *parent, const QString &buildDate,
                     const std::optional<VersionData> &version)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_language(language)
{
    setObjectName(QStringLiteral("AboutBox"));
    setFixedSize(ClientSize);
    setFont(smallDialogFont());
    const AboutTexts texts = aboutTexts(version, buildDate, language);
    setWindowTitle(texts.caption.isEmpty() ? QStringLiteral("About") : texts.caption);

    auto *panel = new QFrame(this);
    panel->setGeometry(PanelGeometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto *icon = new QToolButton(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setGeometry(8, 16, 74, 45);
    icon->setAutoRaise(true);
    icon->setIcon(programIcon());
    icon->setIconSize(QSize(40, 40));
    icon->setCursor(Qt::PointingHandCursor);
    icon->setToolTip(QString::fromUtf16(WebHint));
    icon->setAccessibleName(QString::fromUtf16(WebHint));
    connect(icon, &QToolButton::clicked, this, &TAboutBox::LabelWWWClick);

    const auto designed = [](const QString &text, const char *design) {
        return text.isEmpty() ? QString::fromLatin1(design) : text;
    };
    addLabel(panel, "ProductName", designed(texts.productName, "Product Name"), 96, 16);
    addLabel(panel, "Version", designed(texts.version, "Version"), 96, 40);
    addLabel(panel, "txtCopyright", designed(texts.copyright, "Copyright"), 8, 64);
    addLabel(panel, "LabelFax", texts.phoneFax, 8, 88);
    // Wide enough for one telephone number a line, so that no number is
    // broken; the first line beside its caption.
    QLabel *phones = addLabel(panel, "Comments", QString::fromUtf16(MakerPhones), 72, 88);
    phones->setWordWrap(true);
    phones->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    phones->setFixedSize(104, 39);
    addLabel(panel, "LabelMulti", texts.multiLine, 176, 88);
    addLabel(panel, "LabelSite", texts.site, 48, 144);
    addLink(panel, "LabelWWW", QString::fromUtf16(MakerSite), QString::fromUtf16(WebHint), 152, 144);
    addLabel(panel, "LabelInfo", texts.generalQuestions, 48, 160);
    addLink(panel, "LabelEMail", QString::fromUtf16(MakerInfoMail), QString::fromUtf16(MailHint), 152, 160);
    addLabel(panel, "LabelTech", texts.technicalSupport, 48, 176);
    addLink(panel, "Label2", QString::fromUtf16(MakerSupportMail), QString::fromUtf16(MailHint), 152, 176);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(OkGeometry);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel *TAboutBox::addLabel(QWidget *parent, const char *name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel *TAboutBox::addLink(QWidget *parent, const char *name, const QString &address, const QString &hint, int x,
                           int y)
{
    QLabel *label = addLabel(parent, name, QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), x, y);
    label->setTextFormat(Qt::RichText);
    label->setToolTip(hint);
    label->setCursor(Qt::PointingHandCursor);
    label->adjustSize();
    const bool web = address == QString::fromUtf16(MakerSite);
    connect(label, &QLabel::linkActivated, this, [this, web](const QString &link) {
        if (web)
            LabelWWWClick();
        else
            LabelEMailClick(link);
    });
    return label;
}

void TAboutBox::LabelWWWClick()
{
    shellOpen(QUrl(QString::fromUtf16(MakerSite)), this);
}

void TAboutBox::LabelEMailClick(const QString &address)
{
    shellOpen(QUrl(mailtoAddress(address, ApplicationTitle.text(m_language))), this);
}

} // namespace kvt
