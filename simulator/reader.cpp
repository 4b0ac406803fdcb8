#include "simulator/reader.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

#include "simulator/console.h"

const char Reader::factoryPassword[] = "Tarvo#Factory#16";
const char Reader::factoryFirmware[] = "TRVO-SIM V1.0.0";
// A reader's own configuration as it leaves the factory: USB keyboard
// output, scan mode, QR codes, NFC on. The blank before "ip" is a quirk
// that the tool writes too.
const char Reader::factoryConfig[] =
    "chk_env=0,de_type=1,cr=1,nl=0,wled=1,prefix='',postfix='',chorc=1,s_mode=0,"
    "interval=300,devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,"
    "nfc=1,anfc=1,ord=0,idord=0,st=8,len=8,pri='',pos='',horc=1,nft=0,"
    "owifi=4,heart_en=0,haddr='',houttime=3,awifi_s=1,awifi_f=1,ssid='',psk='',"
    "heart_time=30,heart_data='',taddr='192.168.1.10',port=8080,touttime=3,eth=1,"
    "ip_mode=1, ip='192.168.1.100',mask='255.255.255.0',gateway='192.168.1.1',"
    "volctl=0,vg=1,p_uart1='115200-8-N-1',p_uart2='9600-8-N-1',usb_mode=0,"
    "ochannel=1,dchannel=1,w_mode=1";

// The commands a reader answers.
const Reader::Command Reader::commands[] = {
    {1, &Reader::writeConfig},
    {2, &Reader::readConfig},
    {12, &Reader::readVersion},
};

Reader::Reader() : settings_{factoryConfig, factoryPassword}, firmware_(factoryFirmware) {}

bool Reader::useStateFile(const QString &path, QString *error)
{
    statePath_ = path;
    QFile file(path);
    if (!file.exists())
        return save(error);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QJsonObject state = QJsonDocument::fromJson(file.readAll()).object();
    const QString config = state.value("config").toString();
    const QString password = state.value("password").toString();
    const QString firmware = state.value("firmware").toString();
    QVector<reader_config::Entry> entries;
    if (!state.value("config").isString() || !reader_config::parseEntries(config.toUtf8(), &entries)
        || password.size() != reader_config::passwordLength || firmware.isEmpty()) {
        *error = "not a reader state (config, password of 16 characters, firmware)";
        return false;
    }
    settings_ = {config.toUtf8(), password.toLatin1()};
    firmware_ = firmware.toUtf8();
    return true;
}

bool Reader::save(QString *error) const
{
    if (statePath_.isEmpty())
        return true;
    QJsonObject state;
    state.insert("config", QString::fromUtf8(settings_.config));
    state.insert("password", QString::fromLatin1(settings_.password));
    state.insert("firmware", QString::fromUtf8(firmware_));
    QSaveFile file(statePath_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(state).toJson()) < 0 || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void Reader::setFirmware(const QByteArray &firmware)
{
    firmware_ = firmware;
}

bool Reader::answer(int32_t command, const QByteArray &request, QByteArray *reply)
{
    for (const Command &known : commands) {
        if (known.code == command) {
            *reply = (this->*known.run)(request);
            return true;
        }
    }
    return false;
}

void Reader::setReadBack(const QByteArray &key, const QByteArray &value)
{
    readBackKey_ = key;
    readBackValue_ = value;
}

// Texts go out NUL-terminated, the NUL counted in the length.
QByteArray Reader::readConfig(const QByteArray &)
{
    QVector<reader_config::Entry> entries;
    if (readBackKey_.isEmpty() || !reader_config::parseEntries(settings_.config, &entries))
        return settings_.config + '\0';
    auto found = std::find_if(entries.begin(), entries.end(),
                              [this](const reader_config::Entry &e) { return e.key == readBackKey_; });
    if (found == entries.end())
        found = entries.insert(entries.end(), {QByteArray(), readBackKey_, QByteArray()});
    found->value = readBackValue_;
    return reader_config::joinEntries(entries) + '\0';
}

QByteArray Reader::readVersion(const QByteArray &)
{
    return firmware_ + '\0';
}

// One status byte: 0 stored, 1 refused.
QByteArray Reader::writeConfig(const QByteArray &request)
{
    return QByteArray(1, configure(request, "link") == reader_config::Verdict::Applied ? 0 : 1);
}

void Reader::alterBrightness()
{
    QVector<reader_config::Entry> entries;
    if (!reader_config::parseEntries(settings_.config, &entries))
        return;
    auto found = std::find_if(entries.begin(), entries.end(),
                              [](const reader_config::Entry &e) { return e.key == "brightness"; });
    if (found == entries.end())
        found = entries.insert(entries.end(), {QByteArray(), "brightness", "0"});
    found->value = QByteArray::number((found->value.toInt() + 1) % 256);
    settings_.config = reader_config::joinEntries(entries);
    QString error;
    if (!save(&error))
        say(QString("error: cannot write the state file %1: %2").arg(statePath_, error));
    say("config altered: brightness=" + QString::fromLatin1(found->value));
}

reader_config::Verdict Reader::configure(const QByteArray &signedText, const QString &source)
{
    const reader_config::Verdict verdict = reader_config::apply(signedText, &settings_);
    if (verdict != reader_config::Verdict::Applied) {
        say(QString("config refused (%1): %2").arg(source, reader_config::describe(verdict)));
        return verdict;
    }
    QString error;
    if (!save(&error))
        say(QString("error: cannot write the state file %1: %2").arg(statePath_, error));
    say(QString("config applied (%1)").arg(source));
    if (onApplied_)
        onApplied_();
    return verdict;
}
