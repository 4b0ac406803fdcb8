#include "widgets/device_chooser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "widgets/untrusted_text.h"

namespace {

// The rates and formats the device library opens a port with.
const int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
const char *const kFormats[] = {"8N1", "8E1", "8O1", "8N2", "7E1", "7O1", "7E2", "7O2"};
const int kDefaultBaud = 115200;
const quint16 kDefaultTcpPort = 47811;
const int kRefreshMs = 1000;

// The table's columns, in order, and what each shows of a port.
const struct
{
    const char *title;
    QString device::SerialPort::*field;
} kColumns[] = {
    {QT_TRANSLATE_NOOP("DeviceChooser", "端口"), &device::SerialPort::location},
    {QT_TRANSLATE_NOOP("DeviceChooser", "固定名称"), &device::SerialPort::stableName},
    {QT_TRANSLATE_NOOP("DeviceChooser", "描述"), &device::SerialPort::description},
    {QT_TRANSLATE_NOOP("DeviceChooser", "制造商"), &device::SerialPort::manufacturer},
    {QT_TRANSLATE_NOOP("DeviceChooser", "序列号"), &device::SerialPort::serialNumber},
    {"USB VID:PID", &device::SerialPort::usbId},
};

} // namespace

DeviceChooser::DeviceChooser(const QString &environmentLink, QWidget *parent)
    : QDialog(parent),
      environmentNote_(new QLabel(this)),
      serialChoice_(new QRadioButton(tr("串口读卡器"), this)),
      ports_(new QTableWidget(0, int(std::size(kColumns)), this)),
      path_(new QLineEdit(this)),
      baud_(new QComboBox(this)),
      format_(new QComboBox(this)),
      networkChoice_(new QRadioButton(tr("网络读卡器"), this)),
      host_(new QLineEdit(QStringLiteral("127.0.0.1"), this)),
      port_(new QSpinBox(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("选择设备"));
    // Named for assistive tools and for the tests that click them.
    const std::pair<QObject *, const char *> names[] = {{environmentNote_, "environmentNote"},
                                                        {serialChoice_, "serialChoice"},
                                                        {ports_, "portTable"},
                                                        {path_, "portPath"},
                                                        {baud_, "baudRate"},
                                                        {format_, "lineFormat"},
                                                        {networkChoice_, "networkChoice"},
                                                        {host_, "host"},
                                                        {port_, "tcpPort"},
                                                        {buttons_, "buttons"}};
    for (const auto &[object, name] : names)
        object->setObjectName(QLatin1String(name));
    environmentNote_->setWordWrap(true);
    environmentNote_->setTextFormat(Qt::PlainText);
    environmentNote_->setText(tr("环境变量 TRVO_DEVICE 已设置为 %1，连接时以它为准；这里的选择在它取消后生效。")
                                  .arg(plainShown(environmentLink)));
    environmentNote_->setVisible(!environmentLink.isEmpty());
    for (int rate : kBaudRates)
        baud_->addItem(QString::number(rate), rate);
    baud_->setCurrentIndex(baud_->findData(kDefaultBaud));
    for (const char *format : kFormats)
        format_->addItem(QLatin1String(format));
    port_->setRange(1, 65535);
    port_->setValue(kDefaultTcpPort);
    serialChoice_->setChecked(true);
    buildLayout();
    followPortsAndFields();
}

// The table follows the ports the system lists; OK follows what is typed.
void DeviceChooser::followPortsAndFields()
{
    connect(ports_, &QTableWidget::itemSelectionChanged, this, &DeviceChooser::takeRow);
    for (QRadioButton *choice : {serialChoice_, networkChoice_})
        connect(choice, &QRadioButton::toggled, this, &DeviceChooser::updateAcceptable);
    for (QLineEdit *field : {path_, host_})
        connect(field, &QLineEdit::textChanged, this, &DeviceChooser::updateAcceptable);
    auto *refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] { showPorts(device::listSerialPorts()); });
    refresh->start(kRefreshMs);
    showPorts(device::listSerialPorts());
    updateAcceptable();
}

void DeviceChooser::buildLayout()
{
    QStringList titles;
    for (const auto &column : kColumns)
        titles << tr(column.title);
    ports_->setHorizontalHeaderLabels(titles);
    ports_->setSelectionBehavior(QAbstractItemView::SelectRows);
    ports_->setSelectionMode(QAbstractItemView::SingleSelection);
    ports_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ports_->verticalHeader()->hide();
    ports_->horizontalHeader()->setStretchLastSection(true);
    path_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));

    auto *serialForm = new QFormLayout;
    serialForm->addRow(tr("端口路径"), path_);
    serialForm->addRow(tr("波特率"), baud_);
    serialForm->addRow(tr("数据位/校验/停止位"), format_);
    auto *networkForm = new QFormLayout;
    networkForm->addRow(tr("主机"), host_);
    networkForm->addRow(tr("端口"), port_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(environmentNote_);
    layout->addWidget(serialChoice_);
    layout->addWidget(ports_);
    layout->addLayout(serialForm);
    layout->addWidget(networkChoice_);
    layout->addLayout(networkForm);
    layout->addWidget(buttons_);
    resize(720, 480);
}

void DeviceChooser::showPorts(const QList<device::SerialPort> &ports)
{
    shown_ = ports;
    const QSignalBlocker quiet(ports_);
    ports_->setRowCount(ports.size());
    for (int row = 0; row < ports.size(); ++row) {
        for (int column = 0; column < int(std::size(kColumns)); ++column)
            // Names and descriptions come from the devices themselves.
            ports_->setItem(row, column, new QTableWidgetItem(plainShown(ports.at(row).*kColumns[column].field)));
        const device::SerialPort &port = ports.at(row);
        if (!path_->text().isEmpty() && (path_->text() == port.location || path_->text() == port.stableName))
            ports_->selectRow(row);
    }
}

// A port picked from the list: its stable name where it has one, which
// survives replugging into another socket.
void DeviceChooser::takeRow()
{
    const int row = ports_->currentRow();
    if (row < 0 || row >= shown_.size())
        return;
    const device::SerialPort &port = shown_.at(row);
    path_->setText(port.stableName.isEmpty() ? port.location : port.stableName);
    serialChoice_->setChecked(true);
}

void DeviceChooser::updateAcceptable()
{
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!link().isEmpty());
}

QString DeviceChooser::link() const
{
    if (serialChoice_->isChecked()) {
        const QString path = path_->text().trimmed();
        if (path.isEmpty())
            return QString();
        return QStringLiteral("serial:%1:%2:%3").arg(path, baud_->currentText(), format_->currentText());
    }
    const QString host = host_->text().trimmed();
    if (host.isEmpty() || host.contains(QLatin1Char(' ')))
        return QString();
    const QString shownHost = host.contains(QLatin1Char(':')) ? '[' + host + ']' : host;
    return QStringLiteral("tcp:%1:%2").arg(shownHost).arg(port_->value());
}

void DeviceChooser::setLink(const QString &link)
{
    static const QRegularExpression tcp(QStringLiteral("^tcp:\\[?([^\\]]+?)\\]?:(\\d+)$"));
    static const QRegularExpression serial(QStringLiteral("^serial:(.+?)(?::(\\d+))?(?::([5-8][NEOneo][12]))?$"));
    if (const QRegularExpressionMatch m = tcp.match(link); m.hasMatch()) {
        networkChoice_->setChecked(true);
        host_->setText(m.captured(1));
        port_->setValue(m.captured(2).toInt());
    } else if (const QRegularExpressionMatch m = serial.match(link); m.hasMatch()) {
        serialChoice_->setChecked(true);
        path_->setText(m.captured(1));
        const int baud = baud_->findData(m.captured(2).isEmpty() ? kDefaultBaud : m.captured(2).toInt());
        if (baud >= 0)
            baud_->setCurrentIndex(baud);
        const int format =
            format_->findText(m.captured(3).isEmpty() ? QStringLiteral("8N1") : m.captured(3).toUpper());
        if (format >= 0)
            format_->setCurrentIndex(format);
    }
    showPorts(shown_);
}
