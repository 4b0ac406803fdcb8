<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Widget</name>
    <message>
        <source>Tarvo配置工具V2.1.20</source>
        <translation>Tarvo Config Tool V2.1.20</translation>
    </message>
    <message>
        <source>连接设备信息</source>
        <translation>Connected reader</translation>
    </message>
    <message>
        <source>设备状态：</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>固件版本号：</source>
        <translation>Firmware:</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>产品系列型号选择</source>
        <translation>Product series</translation>
    </message>
    <message>
        <source>ZB系列</source>
        <translation>ZB series</translation>
    </message>
    <message>
        <source>RN450系列</source>
        <translation>RN450 series</translation>
    </message>
    <message>
        <source>WT系列</source>
        <translation>WT series</translation>
    </message>
    <message>
        <source>E200_FK系列</source>
        <translation>E200_FK series</translation>
    </message>
    <message>
        <source>R700</source>
        <translation>R700</translation>
    </message>
    <message>
        <source>RN310/620系列</source>
        <translation>RN310/620 series</translation>
    </message>
    <message>
        <source>PL系列</source>
        <translation>PL series</translation>
    </message>
    <message>
        <source>HD5000系列</source>
        <translation>HD5000 series</translation>
    </message>
    <message>
        <source>KS系列</source>
        <translation>KS series</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>保存配置</source>
        <translation>Save config</translation>
    </message>
    <message>
        <source>生成配置码</source>
        <translation>Make code</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>二维码显示位置</source>
        <translation>The config code appears here</translation>
    </message>
    <message>
        <source>返回常规</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>NFC基本配置</source>
        <translation>NFC settings</translation>
    </message>
    <message>
        <source>NFC开关：</source>
        <translation>NFC:</translation>
    </message>
    <message>
        <source>输出起始位：</source>
        <translation>Start byte:</translation>
    </message>
    <message>
        <source>输出长度：</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>NFC开关</source>
        <translation>NFC on</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>前后缀格式：</source>
        <translation>Affix as:</translation>
    </message>
    <message>
        <source>hex</source>
        <translation>hex</translation>
    </message>
    <message>
        <source>char</source>
        <translation>char</translation>
    </message>
    <message>
        <source>NFC前缀：</source>
        <translation>NFC prefix:</translation>
    </message>
    <message>
        <source>NFC后缀：</source>
        <translation>NFC suffix:</translation>
    </message>
    <message>
        <source>刷卡后行为</source>
        <translation>On card read</translation>
    </message>
    <message>
        <source>响蜂鸣器</source>
        <translation>Beep</translation>
    </message>
    <message>
        <source>灭灯</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>闪红灯</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>闪绿灯</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>刷卡输出格式设置</source>
        <translation>Card output format</translation>
    </message>
    <message>
        <source>直接输出</source>
        <translation>Raw</translation>
    </message>
    <message>
        <source>转16进制输出</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>转10进制输出</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>刷卡输出正反序设置</source>
        <translation>Card byte order</translation>
    </message>
    <message>
        <source>普通卡：</source>
        <translation>Cards:</translation>
    </message>
    <message>
        <source>反序</source>
        <translation>Rev</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>Fwd</translation>
    </message>
    <message>
        <source>身份证：</source>
        <translation>ID card:</translation>
    </message>
    <message>
        <source>韦根输出方式</source>
        <translation>Wiegand output</translation>
    </message>
    <message>
        <source>韦根26</source>
        <translation>WG26</translation>
    </message>
    <message>
        <source>韦根34</source>
        <translation>WG34</translation>
    </message>
    <message>
        <source>电平控制</source>
        <translation>Output level</translation>
    </message>
    <message>
        <source>输出高电平</source>
        <translation>High level</translation>
    </message>
    <message>
        <source>3.3V</source>
        <translation>3.3V</translation>
    </message>
    <message>
        <source>4.3V</source>
        <translation>4.3V</translation>
    </message>
    <message>
        <source>WIFI输出方式 </source>
        <translation>Wi-Fi output</translation>
    </message>
    <message>
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message>
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message>
        <source>TCP协议</source>
        <translation>TCP proto</translation>
    </message>
    <message>
        <source>HTTP协议</source>
        <translation>HTTP proto</translation>
    </message>
    <message>
        <source>有线输出方式</source>
        <translation>Wired output</translation>
    </message>
    <message>
        <source>网络传输行为</source>
        <translation>After sending</translation>
    </message>
    <message>
        <source>成功行为：</source>
        <translation>Success:</translation>
    </message>
    <message>
        <source>失败行为：</source>
        <translation>Failure:</translation>
    </message>
    <message>
        <source>灭白灯</source>
        <translation>White off</translation>
    </message>
    <message>
        <source>WIFI连接设置</source>
        <translation>Wi-Fi connection</translation>
    </message>
    <message>
        <source>连入WIFI名：</source>
        <translation>SSID:</translation>
    </message>
    <message>
        <source>WIFI密码：</source>
        <translation>Wi-Fi key:</translation>
    </message>
    <message>
        <source>心跳设置</source>
        <translation>Heartbeat</translation>
    </message>
    <message>
        <source>开关：</source>
        <translation>Use:</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>心跳包时间：</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>心跳包内容：</source>
        <translation>Payload:</translation>
    </message>
    <message>
        <source>IP模式配置</source>
        <translation>IP mode</translation>
    </message>
    <message>
        <source>动态IP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>静态IP</source>
        <translation>Static IP</translation>
    </message>
    <message>
        <source>IP地址：</source>
        <translation>IP addr.:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Netmask:</translation>
    </message>
    <message>
        <source>网关：</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>网络配置</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>TCP:</source>
        <translation>TCP:</translation>
    </message>
    <message>
        <source>服务器地址：</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>TCP端口号：</source>
        <translation>TCP port:</translation>
    </message>
    <message>
        <source>TCP接收超时（秒）：</source>
        <translation>TCP timeout (s):</translation>
    </message>
    <message>
        <source>HTTP:</source>
        <translation>HTTP:</translation>
    </message>
    <message>
        <source>HTTP接收超时（秒）：</source>
        <translation>HTTP timeout (s):</translation>
    </message>
    <message>
        <source>修改配置密码</source>
        <translation>Change the config password</translation>
    </message>
    <message>
        <source>原密码</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>改密码</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>新密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>确认新密码：</source>
        <translation>Confirm:</translation>
    </message>
    <message>
        <source>NFC选项</source>
        <translation>NFC</translation>
    </message>
    <message>
        <source>韦根选项</source>
        <translation>Wiegand</translation>
    </message>
    <message>
        <source>有线选项</source>
        <translation>Wired</translation>
    </message>
    <message>
        <source>WIFI选项</source>
        <translation>Wi-Fi</translation>
    </message>
    <message>
        <source>配置密码(必填)：</source>
        <translation>Password (req.):</translation>
    </message>
    <message>
        <source>密码管理</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>常规配置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>码制选择</source>
        <translation>Symbologies</translation>
    </message>
    <message>
        <source>QR码</source>
        <translation>QR Code</translation>
    </message>
    <message>
        <source>PDF417</source>
        <translation>PDF417</translation>
    </message>
    <message>
        <source>CODE128</source>
        <translation>Code 128</translation>
    </message>
    <message>
        <source>DM码</source>
        <translation>DataMatrix</translation>
    </message>
    <message>
        <source>ISBN10</source>
        <translation>ISBN-10</translation>
    </message>
    <message>
        <source>DATABAR</source>
        <translation>DataBar</translation>
    </message>
    <message>
        <source>条码</source>
        <translation>1D barcodes</translation>
    </message>
    <message>
        <source>ITF</source>
        <translation>ITF</translation>
    </message>
    <message>
        <source>DATABAR_EXP</source>
        <translation>DataBar Exp.</translation>
    </message>
    <message>
        <source>UPCA</source>
        <translation>UPC-A</translation>
    </message>
    <message>
        <source>UPCE</source>
        <translation>UPC-E</translation>
    </message>
    <message>
        <source>输出设置</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>扫码前缀：</source>
        <translation>Prefix:</translation>
    </message>
    <message>
        <source>扫码后缀：</source>
        <translation>Suffix:</translation>
    </message>
    <message>
        <source>前后缀格式</source>
        <translation>Affix format</translation>
    </message>
    <message>
        <source>解码引擎</source>
        <translation>Decoder</translation>
    </message>
    <message>
        <source>qr加强</source>
        <translation>QR boost</translation>
    </message>
    <message>
        <source>条码加强</source>
        <translation>1D boost</translation>
    </message>
    <message>
        <source>换行</source>
        <translation>LF</translation>
    </message>
    <message>
        <source>回车</source>
        <translation>CR</translation>
    </message>
    <message>
        <source>照明</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>控制设置</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>扫码模式</source>
        <translation>Scan mode</translation>
    </message>
    <message>
        <source>单次模式</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>间隔模式</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>间隔时间(毫秒)：</source>
        <translation>Interval (ms):</translation>
    </message>
    <message>
        <source>扫码行为：</source>
        <translation>On scan:</translation>
    </message>
    <message>
        <source>蜂鸣器</source>
        <translation>Beep</translation>
    </message>
    <message>
        <source>支付码闪灯</source>
        <translation>Pay flash</translation>
    </message>
    <message>
        <source>支付码闪灯并播放音频</source>
        <translation>Pay flash + sound</translation>
    </message>
    <message>
        <source>蜂鸣延迟：</source>
        <translation>Beep time:</translation>
    </message>
    <message>
        <source>毫秒</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>闪灯延迟：</source>
        <translation>LED time:</translation>
    </message>
    <message>
        <source>设备号：</source>
        <translation>Dev ID:</translation>
    </message>
    <message>
        <source>亮度调节：</source>
        <translation>Brightness:</translation>
    </message>
    <message>
        <source>扫码输出格式</source>
        <translation>Output format</translation>
    </message>
    <message>
        <source>char(数字字符)转hex</source>
        <translation>char (digits) to hex</translation>
    </message>
    <message>
        <source>char(数字字符)转hex 反序</source>
        <translation>char (digits) to hex, rev</translation>
    </message>
    <message>
        <source>10进制转pidvid格式</source>
        <translation>decimal to PID/VID</translation>
    </message>
    <message>
        <source>char(16进制字符)转hex</source>
        <translation>char (hex digits) to hex</translation>
    </message>
    <message>
        <source>char(16进制字符)转hex 反序</source>
        <translation>char (hex digits) to hex, rev</translation>
    </message>
    <message>
        <source>10进制转pidvid 反序</source>
        <translation>decimal to PID/VID, rev</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Work mode</translation>
    </message>
    <message>
        <source>普通</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>开发</source>
        <translation>Developer</translation>
    </message>
    <message>
        <source>感应模式</source>
        <translation>Sensing</translation>
    </message>
    <message>
        <source>支付模式</source>
        <translation>Payment</translation>
    </message>
    <message>
        <source>扫描枪模式</source>
        <translation>Handheld</translation>
    </message>
    <message>
        <source>输出方式(必选项)</source>
        <translation>Output (required)</translation>
    </message>
    <message>
        <source>USB键盘</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>TTL</source>
        <translation>TTL</translation>
    </message>
    <message>
        <source>RS485/232</source>
        <translation>RS485/232</translation>
    </message>
    <message>
        <source>WIFI</source>
        <translation>Wi-Fi</translation>
    </message>
    <message>
        <source>以太网</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>韦根</source>
        <translation>Wiegand</translation>
    </message>
    <message>
        <source>二次开发选项</source>
        <translation>Developer options</translation>
    </message>
    <message>
        <source>usbhid</source>
        <translation>USB HID</translation>
    </message>
    <message>
        <source>485/232</source>
        <translation>485/232</translation>
    </message>
    <message>
        <source>485一拖多协议</source>
        <translation>485 multi-drop</translation>
    </message>
    <message>
        <source>Tarvo通信协议</source>
        <translation>Tarvo protocol</translation>
    </message>
    <message>
        <source>串口参数设置</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baud:</translation>
    </message>
    <message>
        <source>校验位：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>300</source>
        <translation>300</translation>
    </message>
    <message>
        <source>2400</source>
        <translation>2400</translation>
    </message>
    <message>
        <source>4800</source>
        <translation>4800</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>O</source>
        <translation>O</translation>
    </message>
    <message>
        <source>E</source>
        <translation>E</translation>
    </message>
</context>
</TS>
