#include "Preferences.h"

#include "DefaultsStore.h"
#include "KeyEditor.h"
#include "MailTitles.h"
#include "Downloads.h"
#include "PreferencesWindow.h"
#include "RepeatTimer.h"
#include "TitleCache.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <optional>

namespace wex {

namespace {

const QString kDownloadAtStartUp = QStringLiteral("Download At Start Up");
const QString kRepeatDownload = QStringLiteral("Repeat Download");
const QString kDownloadInterval = QStringLiteral("Download Interval in Minutes");
const QString kUseHeaderCache = QStringLiteral("Use Header Cache");
const QString kNotifyNewMail = QStringLiteral("Notify New Mail");

// The leading whole number of a text, read the way a number field reads one:
// blanks skipped, an optional sign, then digits up to the first other
// character; 0 without digits. Saturates instead of overflowing.
qint64 LeadingInteger(const QString &text)
{
    constexpr qint64 kCeiling = qint64(1) << 40;
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        negative = text.at(i++) == QLatin1Char('-');
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        value = std::min(kCeiling, value * 10 + (text.at(i).unicode() - '0'));
    return negative ? -value : value;
}

} // namespace

Preferences::Preferences(DefaultsStore &defaults, PreferencesWindow &window, Downloads &downloads,
                         KeyEditor &keyEditor, MailTitles &titles, QObject *parent)
    : QObject(parent),
      defaults_(defaults),
      window_(window),
      downloads_(downloads),
      keyEditor_(keyEditor),
      titles_(titles),
      downloadTimer_(new RepeatTimer(this))
{
    connect(downloadTimer_, &RepeatTimer::timeout, this, &Preferences::repeatDownload);
    // clicked(), not toggled(): only the user's clicks are changes to store.
    connect(window.downloadAtStartUpSwitch(), &QCheckBox::clicked, this, &Preferences::switchDownloadAtStartUp);
    connect(window.repeatDownloadSwitch(), &QCheckBox::clicked, this, &Preferences::switchRepeatDownload);
    connect(window.downloadIntervalField(), &QLineEdit::editingFinished, this, &Preferences::intervalChanged);
    connect(window.headerCacheSwitch(), &QCheckBox::clicked, this, &Preferences::switchHeaderCache);
    connect(window.notifyNewMailSwitch(), &QCheckBox::clicked, this, &Preferences::switchNotifyNewMail);
    connect(window.doneButton(), &QPushButton::clicked, this, &Preferences::preferenceDone);
}

bool Preferences::headerCacheWanted(const DefaultsStore &defaults)
{
    return defaults.boolForKey(kUseHeaderCache).value_or(true) && TitleCacheEnabledByEnvironment();
}

void Preferences::switchHeaderCache(bool on)
{
    defaults_.setBool(kUseHeaderCache, on);
    defaults_.save();
    titles_.setUseCache(headerCacheWanted(defaults_));
}

bool Preferences::notifyNewMailWanted(const DefaultsStore &defaults)
{
    return defaults.boolForKey(kNotifyNewMail).value_or(true);
}

void Preferences::switchNotifyNewMail(bool on)
{
    defaults_.setBool(kNotifyNewMail, on);
    defaults_.save();
}

int Preferences::intervalFromStore(std::optional<qint64> stored)
{
    if (!stored || *stored <= 0)
        return kDefaultInterval;
    return int(std::min<qint64>(*stored, kMaxInterval));
}

int Preferences::intervalFromText(const QString &text)
{
    return int(std::clamp<qint64>(LeadingInteger(text), 1, kMaxInterval));
}

void Preferences::loadPrefAndStartUpDownload()
{
    downloadAtStartUp_ = defaults_.boolForKey(kDownloadAtStartUp).value_or(false);
    repeatDownload_ = defaults_.boolForKey(kRepeatDownload).value_or(false);
    downloadInterval_ = intervalFromStore(defaults_.integerForKey(kDownloadInterval));
    if (downloadAtStartUp_)
        downloads_.download();
    if (repeatDownload_)
        startRepeatDownload();
    defaults_.setInteger(QStringLiteral("Major Version"), 1);
    defaults_.setInteger(QStringLiteral("Minor Version"), 1);
    defaults_.setInteger(QStringLiteral("Mentenance Version"), 0);
}

void Preferences::startRepeatDownload()
{
    // At most kMaxInterval minutes: far inside 64-bit milliseconds.
    downloadTimer_->start(minute_ * qint64(downloadInterval_));
}

void Preferences::repeatDownload()
{
    downloads_.download();
}

void Preferences::preference()
{
    if (window_.isVisible())
        return;
    keyEditor_.reloadKeyTable();
    window_.downloadAtStartUpSwitch()->setChecked(downloadAtStartUp_);
    window_.repeatDownloadSwitch()->setChecked(repeatDownload_);
    window_.downloadIntervalField()->setText(QString::number(downloadInterval_));
    window_.notifyNewMailSwitch()->setChecked(notifyNewMailWanted(defaults_));
    QCheckBox *cache = window_.headerCacheSwitch();
    const bool allowed = TitleCacheEnabledByEnvironment();
    cache->setChecked(headerCacheWanted(defaults_));
    cache->setEnabled(allowed);
    cache->setToolTip(allowed ? QString() : tr("Turned off by WEX_NO_CACHE in the environment"));
    window_.exec();
    windowClosed();
}

void Preferences::preferenceDone()
{
    if (window_.isVisible())
        window_.accept();
}

void Preferences::windowClosed()
{
    emit closed();
    window_.close();
    intervalChanged();
}

void Preferences::switchDownloadAtStartUp(bool on)
{
    downloadAtStartUp_ = on;
    defaults_.setBool(kDownloadAtStartUp, on);
    defaults_.save();
}

void Preferences::switchRepeatDownload(bool on)
{
    repeatDownload_ = on;
    defaults_.setBool(kRepeatDownload, on);
    defaults_.save();
    if (on)
        startRepeatDownload();
    else
        downloadTimer_->stop();
}

void Preferences::intervalChanged()
{
    QLineEdit *field = window_.downloadIntervalField();
    const int interval = intervalFromText(field->text());
    field->setText(QString::number(interval));
    if (interval == downloadInterval_)
        return;
    downloadInterval_ = interval;
    defaults_.setInteger(kDownloadInterval, interval);
    defaults_.save();
    if (repeatDownload_)
        startRepeatDownload();
}

} // namespace wex
