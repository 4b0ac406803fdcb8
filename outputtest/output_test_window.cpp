#include "outputtest/output_test_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSerialPortInfo>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/form_source.h"
#include "core/remembered_settings.h"
#include "files/safe_file.h"
#include "outputtest/keyboard_capture.h"
#include "outputtest/log_colours.h"
#include "outputtest/output_test_form.h"
#include "receivers/output_receivers.h"
#include "widgets/boxes.h"

using output_test::Channel;

namespace {

const char kTitle[] = QT_TRANSLATE_NOOP("OutputTestWindow", "输出测试");
constexpr quint16 kDefaultPort = 8080;
const char kListenKey[] = "outputTest/listenAddress";
const char kEveryInterface[] = "any";
// The form changes a keystroke at a time: the receiver moves once it has
// been still this long, not to each half-typed port on the way.
constexpr int kFormSettlesMs = 800;

// The channels in the order the choice lists them.
struct ChannelChoice
{
    Channel channel;
    const char *name;
};
const ChannelChoice kChannelChoices[] = {
    {Channel::Tcp, QT_TRANSLATE_NOOP("OutputTestWindow", "TCP")},
    {Channel::Http, QT_TRANSLATE_NOOP("OutputTestWindow", "HTTP")},
    {Channel::Serial, QT_TRANSLATE_NOOP("OutputTestWindow", "RS485/232")},
    {Channel::Ttl, QT_TRANSLATE_NOOP("OutputTestWindow", "TTL")},
    {Channel::Keyboard, QT_TRANSLATE_NOOP("OutputTestWindow", "USB键盘")},
    {Channel::Wiegand, QT_TRANSLATE_NOOP("OutputTestWindow", "韦根")},
};

enum View { MessagesView, WiegandView };

int choiceOf(Channel channel)
{
    for (int i = 0; i < int(std::size(kChannelChoices)); ++i)
        if (kChannelChoices[i].channel == channel)
            return i;
    return 0;
}

bool isNetwork(Channel channel)
{
    return channel == Channel::Tcp || channel == Channel::Http;
}

bool isSerial(Channel channel)
{
    return channel == Channel::Serial || channel == Channel::Ttl;
}

QString cardFormName(output_test::CardNumberForm form)
{
    switch (form) {
    case output_test::CardNumberForm::Direct:
        return OutputTestWindow::tr("直接输出");
    case output_test::CardNumberForm::Hexadecimal:
        return OutputTestWindow::tr("转16进制输出");
    case output_test::CardNumberForm::Decimal:
        break;
    }
    return OutputTestWindow::tr("转10进制输出");
}

} // namespace

OutputTestWindow::OutputTestWindow(const FormSource &formSource, QWidget *parent)
    : QWidget(parent, Qt::Window),
      form(formSource),
      settings(outputTestSettings(formSource.value())),
      messages(new output_test::OutputLog(this))
{
    setObjectName(QStringLiteral("outputTestWindow"));
    messages->setObjectName(QStringLiteral("messageLog"));
    setWindowTitle(tr(kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    messages->setSettings(settings);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeSettingsRow());
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("statusLine"));
    status->setTextFormat(Qt::PlainText);
    status->setWordWrap(true);
    layout->addWidget(status);
    counts = new QLabel(this);
    counts->setTextFormat(Qt::PlainText);
    layout->addWidget(counts);
    layout->addWidget(makeMessageViews(), 1);
    layout->addWidget(makeButtonRow());
    resize(900, 560);

    connect(messages, &output_test::OutputLog::changed, this, &OutputTestWindow::updateCounts);
    // The time since the last heartbeat goes on while nothing comes.
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &OutputTestWindow::updateCounts);
    clock->start(1000);

    channels->setCurrentIndex(choiceOf(settings.channel));
    channelChosen();
    connect(channels, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OutputTestWindow::channelChosen);
    formSettles = new QTimer(this);
    formSettles->setSingleShot(true);
    formSettles->setInterval(kFormSettlesMs);
    connect(formSettles, &QTimer::timeout, this, &OutputTestWindow::followTheForm);
    connect(&form, &FormSource::changed, this, &OutputTestWindow::formChanged);
}

// The receiver goes first: the HTTP server's thread ends before the log it
// delivers to.
OutputTestWindow::~OutputTestWindow()
{
    delete receiver.data();
}

QWidget *OutputTestWindow::makeSettingsRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    channels = new QComboBox(row);
    channels->setObjectName(QStringLiteral("channelChoice"));
    for (const ChannelChoice &choice : kChannelChoices)
        channels->addItem(tr(choice.name));
    portLabel = new QLabel(row);
    port = new QSpinBox(row);
    port->setObjectName(QStringLiteral("portField"));
    port->setRange(1, 65535);
    listenChoice = makeListenChoice(row);
    serialPort = new QComboBox(row);
    serialPort->setObjectName(QStringLiteral("serialPortField"));
    serialPort->setEditable(true);
    serialPort->setMinimumContentsLength(16);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        serialPort->addItem(info.systemLocation());
    reply = new QLineEdit(row);
    reply->setObjectName(QStringLiteral("replyField"));
    reply->setPlaceholderText(tr("回复内容（可不填）"));
    reply->setToolTip(tr("每条消息后发回给读头的内容，供以灯光或蜂鸣提示服务器应答的读头使用"));
    starting = new QPushButton(row);
    starting->setObjectName(QStringLiteral("startButton"));
    connect(starting, &QPushButton::clicked, this, &OutputTestWindow::toggle);
    layout->addWidget(new QLabel(tr("通道："), row));
    layout->addWidget(channels);
    layout->addWidget(portLabel);
    layout->addWidget(port);
    layout->addWidget(listenChoice);
    layout->addWidget(serialPort);
    layout->addWidget(reply, 1);
    layout->addWidget(starting);
    return row;
}

// Where to listen: every interface, one of them by its address, or this
// computer only (for a try with the simulator); remembered for next time.
QComboBox *OutputTestWindow::makeListenChoice(QWidget *row)
{
    auto *choice = new QComboBox(row);
    choice->setObjectName(QStringLiteral("listenAddress"));
    choice->setToolTip(tr("在哪个网卡上接收读头的连接"));
    choice->addItem(tr("所有网卡"), QString::fromLatin1(kEveryInterface));
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlag(QNetworkInterface::IsUp)
            || interface.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries())
            choice->addItem(tr("%1（%2）").arg(entry.ip().toString(), plainShown(interface.humanReadableName())),
                            entry.ip().toString());
    }
    choice->addItem(tr("仅本机"), QHostAddress(QHostAddress::LocalHost).toString());
    choice->setCurrentIndex(std::max(0, choice->findData(remembered::text(kListenKey))));
    connect(choice, QOverload<int>::of(&QComboBox::activated), this,
            [choice] { remembered::store(kListenKey, choice->currentData()); });
    return choice;
}

QHostAddress OutputTestWindow::listenAddress() const
{
    const QString chosen = listenChoice->currentData().toString();
    return chosen == QLatin1String(kEveryInterface) ? QHostAddress(QHostAddress::Any) : QHostAddress(chosen);
}

// One row per connected reader, above the messages while TCP receives.
QTableView *OutputTestWindow::makePeerView(QWidget *page)
{
    auto *view = new QTableView(page);
    view->setObjectName(QStringLiteral("peers"));
    view->verticalHeader()->setVisible(false);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setMaximumHeight(120);
    view->hide();
    return view;
}

QTableView *OutputTestWindow::makeMessageTable(QWidget *parent)
{
    table = new QTableView(parent);
    table->setObjectName(QStringLiteral("messageTable"));
    auto *painted = new LogColours(table);
    painted->setSourceModel(messages);
    table->setModel(painted);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->verticalHeader()->setVisible(false);
    // The data column takes the room the others leave: a code is shown
    // whole, up to what a cell holds, and the detail pane below has the rest.
    table->horizontalHeader()->setSectionResizeMode(output_test::OutputLog::Data, QHeaderView::Stretch);
    table->horizontalHeader()->setMinimumSectionSize(40);
    const int timeWidth = table->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000"));
    table->setColumnWidth(output_test::OutputLog::Time, timeWidth + 16);
    table->setColumnWidth(output_test::OutputLog::Source, 170);
    for (int affix :
         {output_test::OutputLog::Prefix, output_test::OutputLog::Suffix, output_test::OutputLog::End})
        table->setColumnWidth(affix, 64);
    table->setColumnWidth(output_test::OutputLog::Hex, 160);
    // The view follows new messages while it shows the newest ones.
    connect(messages, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        followNewest = table->verticalScrollBar()->value() == table->verticalScrollBar()->maximum();
    });
    connect(messages, &QAbstractItemModel::rowsInserted, this, [this] {
        if (followNewest)
            table->scrollToBottom();
    });
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &OutputTestWindow::showDetails);
    return table;
}

QWidget *OutputTestWindow::makeMessageViews()
{
    views = new QStackedWidget(this);
    auto *messagePage = new QWidget(views);
    auto *messageLayout = new QVBoxLayout(messagePage);
    messageLayout->setContentsMargins(0, 0, 0, 0);
    table = makeMessageTable(messagePage);
    details = new QPlainTextEdit(messagePage);
    details->setReadOnly(true);
    details->setMaximumHeight(110);
    details->setPlaceholderText(tr("选中一条消息，看它的全部内容"));
    capture = new KeyboardCapture(messagePage);
    capture->setObjectName(QStringLiteral("keyboardCapture"));
    connect(capture, &KeyboardCapture::typed, this, [this](const QByteArray &bytes, const QString &pace) {
        messages->append({QDateTime::currentDateTime(), tr("USB键盘"), bytes, pace});
    });
    peerView = makePeerView(messagePage);
    messageLayout->addWidget(capture);
    messageLayout->addWidget(peerView);
    messageLayout->addWidget(table, 1);
    messageLayout->addWidget(details);

    wiegandNote = new QLabel(views);
    wiegandNote->setTextFormat(Qt::PlainText);
    wiegandNote->setWordWrap(true);
    wiegandNote->setAlignment(Qt::AlignCenter);
    views->insertWidget(MessagesView, messagePage);
    views->insertWidget(WiegandView, wiegandNote);
    return views;
}

QWidget *OutputTestWindow::makeButtonRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *copying = new QPushButton(tr("复制"), row);
    copying->setToolTip(tr("复制选中的消息，未选中时复制全部"));
    connect(copying, &QPushButton::clicked, this, &OutputTestWindow::copyMessages);
    auto *clearing = new QPushButton(tr("清空"), row);
    connect(clearing, &QPushButton::clicked, messages, &output_test::OutputLog::clear);
    auto *saving = new QPushButton(tr("保存…"), row);
    connect(saving, &QPushButton::clicked, this, &OutputTestWindow::chooseFileToSave);
    auto *closing = new QPushButton(tr("关闭"), row);
    connect(closing, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(copying);
    layout->addWidget(clearing);
    layout->addWidget(saving);
    layout->addStretch(1);
    layout->addWidget(closing);
    return row;
}

Channel OutputTestWindow::channel() const
{
    return kChannelChoices[std::max(0, channels->currentIndex())].channel;
}

void OutputTestWindow::channelChosen()
{
    stop();
    status->setStyleSheet(QString());
    const Channel chosen = channel();
    const bool network = isNetwork(chosen);
    const quint16 formPort = chosen == Channel::Http ? settings.httpPort : settings.tcpPort;
    port->setValue(formPort != 0 ? formPort : kDefaultPort);
    portLabel->setText(isSerial(chosen) ? tr("串口：") : tr("端口："));
    portLabel->setVisible(network || isSerial(chosen));
    port->setVisible(network);
    listenChoice->setVisible(network);
    serialPort->setVisible(isSerial(chosen));
    reply->setVisible(network);
    starting->setVisible(network || isSerial(chosen));
    capture->setVisible(chosen == Channel::Keyboard);
    if (chosen == Channel::Keyboard) {
        views->setCurrentIndex(MessagesView);
        status->setText(tr("USB键盘输出：点输入框，再扫码或刷卡。"));
        capture->setFocus();
    } else if (chosen == Channel::Wiegand) {
        views->setCurrentIndex(WiegandView);
        status->clear();
        wiegandNote->setText(
            tr("电脑无法接收韦根输出：请接门禁控制器或韦根转换器检查。读头按韦根%1输出，卡号格式：%2。")
                .arg(settings.wiegandBits)
                .arg(cardFormName(settings.cardNumberForm)));
    } else {
        views->setCurrentIndex(MessagesView);
        status->setText(network ? tr("选择在哪个网卡上接收，再点“开始接收”。")
                                : tr("选择读头所接的串口，再点“开始接收”。"));
    }
}

void OutputTestWindow::toggle()
{
    if (receiver)
        stop();
    else
        start();
}

void OutputTestWindow::start()
{
    stop();
    if (const std::optional<output_test::OpenFailure> failure = openReceiver()) {
        stop();
        showOpenFailure(*failure);
        return;
    }
    connect(receiver, &output_test::OutputReceiver::received, messages, &output_test::OutputLog::append);
    connect(receiver, &output_test::OutputReceiver::note, messages, &output_test::OutputLog::note);
    connect(reply, &QLineEdit::textChanged, receiver, [this] { applyReply(); });
    applyReply();
    status->setStyleSheet(QString());
    receiving = isNetwork(channel()) ? tr("正在 %1 端口 %2 上接收，监听：%3。")
                                           .arg(channels->currentText())
                                           .arg(port->value())
                                           .arg(listenChoice->currentText())
                                     : tr("正在串口 %1 上接收。").arg(serialPort->currentText());
    status->setText(receiving);
    openedWith = settings;
    openedPort = port->value();
    starting->setText(tr("停止"));
    showPeers();
}

// One line per connected reader, for the receiver that has connections.
void OutputTestWindow::showPeers()
{
    auto *tcp = qobject_cast<output_test::TcpReceiver *>(receiver);
    peerView->setModel(tcp ? tcp->peers() : nullptr);
    peerView->setVisible(tcp != nullptr);
    peerView->setColumnWidth(output_test::PeerTable::Address, 200);
}

void OutputTestWindow::applyReply()
{
    const QByteArray text = reply->text().toUtf8();
    if (auto *tcp = qobject_cast<output_test::TcpReceiver *>(receiver))
        tcp->setReply(text);
    else if (auto *http = qobject_cast<output_test::HttpReceiver *>(receiver))
        http->setReply(text);
}

std::optional<output_test::OpenFailure> OutputTestWindow::openReceiver()
{
    switch (channel()) {
    case Channel::Tcp: {
        auto *tcp = new output_test::TcpReceiver(settings, this);
        receiver = tcp;
        return tcp->open(listenAddress(), quint16(port->value()));
    }
    case Channel::Http: {
        auto *http = new output_test::HttpReceiver(this);
        receiver = http;
        return http->open(listenAddress(), quint16(port->value()));
    }
    case Channel::Serial:
    case Channel::Ttl: {
        auto *serial = new output_test::SerialReceiver(settings, this);
        receiver = serial;
        return serial->open(serialPort->currentText().trimmed());
    }
    case Channel::Keyboard:
    case Channel::Wiegand:
        break;
    }
    return std::nullopt;
}

void OutputTestWindow::stop()
{
    peerView->setModel(nullptr);
    peerView->hide();
    if (receiver)
        status->setText(tr("已停止接收。"));
    delete receiver.data();
    starting->setText(tr("开始接收"));
}

// The form changed under the open test: the affixes count for the next
// messages, a new channel is chosen here too (which stops receiving, said
// in the log), and what the running receiver was opened with moves it
// once the form is still. The log stays as it is.
void OutputTestWindow::formChanged()
{
    const output_test::Settings changed = outputTestSettings(form.value());
    const bool channelMoved = changed.channel != settings.channel;
    const quint16 before = channel() == Channel::Http ? settings.httpPort : settings.tcpPort;
    const quint16 after = channel() == Channel::Http ? changed.httpPort : changed.tcpPort;
    settings = changed;
    messages->setSettings(settings);
    if (channelMoved) {
        if (receiver)
            messages->note(tr("配置的输出通道已改：停止接收"));
        channels->setCurrentIndex(choiceOf(settings.channel));
        return;
    }
    if (isNetwork(channel()) && after != before && after != 0)
        port->setValue(after);
    if (receiver)
        formSettles->start();
}

void OutputTestWindow::followTheForm()
{
    const QString why = whyReopen();
    if (!receiver || why.isEmpty())
        return;
    messages->note(why);
    start();
}

// What the running receiver was opened with that the form no longer says;
// empty when nothing.
QString OutputTestWindow::whyReopen() const
{
    if (isNetwork(channel()) && port->value() != openedPort)
        return tr("配置的端口改为 %1：在新端口上重新接收").arg(port->value());
    if (channel() != Channel::Http
        && (settings.terminator() != openedWith.terminator() || settings.heartbeat != openedWith.heartbeat))
        return tr("配置的结束符或心跳已改：按新的设置重新接收");
    if (isSerial(channel())
        && (settings.baudRate != openedWith.baudRate || settings.dataBits != openedWith.dataBits
            || settings.parity != openedWith.parity || settings.stopBits != openedWith.stopBits))
        return tr("配置的串口参数已改：重新打开串口");
    return QString();
}

void OutputTestWindow::showOpenFailure(const output_test::OpenFailure &failure)
{
    const QString what = isNetwork(channel()) ? tr("%1 端口 %2").arg(channels->currentText()).arg(port->value())
                                              : tr("串口 %1").arg(serialPort->currentText());
    status->setStyleSheet(QStringLiteral("color: #b00000"));
    status->setText(tr("无法打开%1：%2。%3").arg(what, failure.reason, failure.suggestion));
}

void OutputTestWindow::updateCounts()
{
    QString text = tr("消息 %n 条", nullptr, messages->rowCount());
    if (messages->dropped() > 0)
        text += tr("，较早的 %n 条已丢弃", nullptr, messages->dropped());
    if (!settings.heartbeat.isEmpty() && isNetwork(channel())) {
        text += tr("；心跳 %n 次", nullptr, messages->heartbeats());
        if (messages->lastHeartbeat().isValid())
            text += tr("，距上次 %1 秒").arg(messages->lastHeartbeat().secsTo(QDateTime::currentDateTime()));
        if (settings.heartbeatSeconds > 0)
            text += tr("（配置为每 %1 秒一次）").arg(settings.heartbeatSeconds);
    }
    counts->setText(text);
}

void OutputTestWindow::showDetails()
{
    details->setPlainText(messages->details(table->currentIndex().row()));
}

void OutputTestWindow::copyMessages()
{
    QList<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty())
        for (int row = 0; row < messages->rowCount(); ++row)
            rows << row;
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows)
        lines << messages->line(row);
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

bool OutputTestWindow::saveTo(const QString &path)
{
    QByteArray text;
    for (int row = 0; row < messages->rowCount(); ++row)
        text += messages->line(row).toUtf8() + '\n';
    if (const std::optional<QString> failure = files::replaceFile(path, text)) {
        showBox(this, QMessageBox::Warning, tr(kTitle), tr("无法保存消息到 %1。").arg(path), *failure);
        return false;
    }
    return true;
}

void OutputTestWindow::chooseFileToSave()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("保存消息"), QString(), tr("文本文件 (*.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        saveTo(path);
}
