#include "device/link_failure.h"

#include <QtGlobal>

#include "trvo/trvo.h"

namespace {

// clang-format off
const char kNoSerialPermission[] = QT_TRANSLATE_NOOP("device", "没有打开该串口的权限：请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），重新登录后再试。");
// clang-format on

const struct
{
    int cause;
    const char *code;
    const char *text;
} kCauseTexts[] = {
    {TRVO_CAUSE_SETTING, "bad_link",
     QT_TRANSLATE_NOOP("device", "设备设置无效：应为 tcp:主机:端口 或 serial:路径[:波特率[:格式]]。")},
    {TRVO_CAUSE_NO_PORT, "no_port",
     QT_TRANSLATE_NOOP("device", "找不到该串口：请检查读卡器是否已插好，或重新选择设备。")},
    {TRVO_CAUSE_NOT_A_PORT, "not_a_port", QT_TRANSLATE_NOOP("device", "所选路径不是串口。")},
    {TRVO_CAUSE_PERMISSION, "permission", kNoSerialPermission},
    {TRVO_CAUSE_BUSY, "busy", QT_TRANSLATE_NOOP("device", "该串口正被另一个程序占用：请先关闭那个程序。")},
    {TRVO_CAUSE_UNREACHABLE, "unreachable", QT_TRANSLATE_NOOP("device", "无法到达该主机：请检查主机名和网络。")},
    {TRVO_CAUSE_REFUSED, "connection_refused",
     QT_TRANSLATE_NOOP("device", "连接被拒绝：该主机的这个端口上没有读卡器在监听。")},
    {TRVO_CAUSE_TIMEOUT, "timeout", QT_TRANSLATE_NOOP("device", "读卡器在规定时间内没有应答。")},
    {TRVO_CAUSE_BAD_REPLY, "bad_reply", QT_TRANSLATE_NOOP("device", "读卡器的应答无法识别。")},
    {TRVO_CAUSE_LOST, "connection_lost", QT_TRANSLATE_NOOP("device", "连接在通信过程中断开。")},
    {TRVO_CAUSE_REJECTED, "rejected", QT_TRANSLATE_NOOP("device", "读卡器拒绝了该命令。")},
    {TRVO_CAUSE_ARGUMENT, "library", QT_TRANSLATE_NOOP("device", "设备库拒绝了该请求。")},
    {TRVO_CAUSE_SYSTEM, "system", QT_TRANSLATE_NOOP("device", "系统错误。")},
};

} // namespace

namespace device {

LinkFailure lastFailure(intptr_t channel)
{
    char message[TRVO_FAILURE_MESSAGE_SIZE];
    const int cause = trvo_failure(channel, message, sizeof message);
    return {cause, QString::fromLocal8Bit(message)};
}

const char *causeText(int cause)
{
    for (const auto &known : kCauseTexts) {
        if (known.cause == cause)
            return known.text;
    }
    return nullptr;
}

const char *causeCode(int cause)
{
    for (const auto &known : kCauseTexts) {
        if (known.cause == cause)
            return known.code;
    }
    return nullptr;
}

int causeNamed(const QString &code)
{
    for (const auto &known : kCauseTexts) {
        if (code == QLatin1String(known.code))
            return known.cause;
    }
    return 0;
}

const char kRefusedConfiguration[] =
    QT_TRANSLATE_NOOP("device", "读卡器拒绝了该配置：配置密码错误，或读卡器不接受该配置。");

} // namespace device
