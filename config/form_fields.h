#ifndef TARVO_CONFIG_FORM_FIELDS_H
#define TARVO_CONFIG_FORM_FIELDS_H

// Every input of the form that the configuration depends on, in the order
// the form reads: the area beside the pages, then page by page. One row per
// input: its object name (the configuration value's member and the form's
// widget bear it alike), the words the form shows for it, the title of the
// group it stands in and its page; a radio button also names its set, the
// buttons of which exclude each other. The configuration value, its
// description table and the window's binding are all made from this table.
//
//   CHECK(name, caption, group, page)        a check box: bool
//   RADIO(name, caption, group, page, set)   a radio button: bool
//   TEXT(name, label, group, page)           a line edit: QString
//   COMBO(name, label, group, page)          a combo box's current text: QString
//   NUMBER(name, label, group, page)         a slider's value: int
#define TARVO_FORM_FIELDS(CHECK, RADIO, TEXT, COMBO, NUMBER) \
    CHECK(tarvo_ZB, "ZB系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_RN450, "RN450系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_WT, "WT系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_E200FK, "E200_FK系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_rseven, "R700", "产品系列型号选择", MainArea) \
    CHECK(tarvo_RN310, "RN310/620系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_PL, "PL系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_HD5000, "HD5000系列", "产品系列型号选择", MainArea) \
    CHECK(tarvo_KS, "KS系列", "产品系列型号选择", MainArea) \
    RADIO(scanmode, "普通", "工作模式", MainArea, WorkMode) \
    RADIO(developmode, "开发", "工作模式", MainArea, WorkMode) \
    RADIO(ganyingmode, "感应模式", "工作模式", MainArea, WorkMode) \
    RADIO(paymode, "支付模式", "工作模式", MainArea, WorkMode) \
    RADIO(gunmode, "扫描枪模式", "工作模式", MainArea, WorkMode) \
    RADIO(keyboardOut, "USB键盘", "输出方式(必选项)", MainArea, OutputChannel) \
    RADIO(ttlOut, "TTL", "输出方式(必选项)", MainArea, OutputChannel) \
    RADIO(serialOut, "RS485/232", "输出方式(必选项)", MainArea, OutputChannel) \
    RADIO(wifiOut, "WIFI", "输出方式(必选项)", MainArea, OutputChannel) \
    RADIO(ethernetOut, "以太网", "输出方式(必选项)", MainArea, OutputChannel) \
    RADIO(weigenOut, "韦根", "输出方式(必选项)", MainArea, OutputChannel) \
    RADIO(usbhidchoose, "usbhid", "二次开发选项", MainArea, ConfigChannel) \
    RADIO(serialchoose, "485/232", "二次开发选项", MainArea, ConfigChannel) \
    RADIO(ttlchoose, "TTL", "二次开发选项", MainArea, ConfigChannel) \
    RADIO(serialdragxieyi, "485一拖多协议", "二次开发选项", MainArea, ConfigChannel) \
    RADIO(tarvoxy, "Tarvo通信协议", "二次开发选项", MainArea, ConfigChannel) \
    COMBO(baudRate, "波特率：", "串口参数设置", MainArea) \
    COMBO(checkBit, "校验位：", "串口参数设置", MainArea) \
    COMBO(dataBit, "数据位：", "串口参数设置", MainArea) \
    COMBO(stopBit, "停止位：", "串口参数设置", MainArea) \
    TEXT(manpw, "配置密码(必填)：", "", GeneralPage) \
    CHECK(qrCheck, "QR码", "码制选择", GeneralPage) \
    CHECK(pdf417Check, "PDF417", "码制选择", GeneralPage) \
    CHECK(code128Check, "CODE128", "码制选择", GeneralPage) \
    CHECK(dmCheck, "DM码", "码制选择", GeneralPage) \
    CHECK(isbn10Check, "ISBN10", "码制选择", GeneralPage) \
    CHECK(databarCheck, "DATABAR", "码制选择", GeneralPage) \
    CHECK(barCheck, "条码", "码制选择", GeneralPage) \
    CHECK(itfCheck, "ITF", "码制选择", GeneralPage) \
    CHECK(databar_expCheck, "DATABAR_EXP", "码制选择", GeneralPage) \
    CHECK(upcaCheck, "UPCA", "码制选择", GeneralPage) \
    CHECK(upceCheck, "UPCE", "码制选择", GeneralPage) \
    TEXT(linePrefix, "扫码前缀", "输出设置", GeneralPage) \
    TEXT(lineSuffix, "扫码后缀", "输出设置", GeneralPage) \
    RADIO(char_qhz, "char", "前后缀格式", GeneralPage, AffixForm) \
    RADIO(hex_qhz, "hex", "前后缀格式", GeneralPage, AffixForm) \
    RADIO(qrup, "qr加强", "解码引擎", GeneralPage, Decoder) \
    RADIO(barup, "条码加强", "解码引擎", GeneralPage, Decoder) \
    CHECK(wrapCheck, "换行", "常规配置", GeneralPage) \
    CHECK(enterCheck, "回车", "常规配置", GeneralPage) \
    CHECK(ledControl, "照明", "常规配置", GeneralPage) \
    RADIO(singlemode, "单次模式", "扫码模式", GeneralPage, ScanMode) \
    RADIO(intermode, "间隔模式", "扫码模式", GeneralPage, ScanMode) \
    TEXT(lineIntervaltime, "间隔时间(毫秒)", "扫码模式", GeneralPage) \
    CHECK(buzzers, "蜂鸣器", "控制设置", GeneralPage) \
    CHECK(lightoff, "灭灯", "控制设置", GeneralPage) \
    CHECK(redlight, "闪红灯", "控制设置", GeneralPage) \
    CHECK(greenlight, "闪绿灯", "控制设置", GeneralPage) \
    CHECK(pay_light, "支付码闪灯", "控制设置", GeneralPage) \
    CHECK(pay_light_play, "支付码闪灯并播放音频", "控制设置", GeneralPage) \
    TEXT(beepinterval, "蜂鸣延迟", "控制设置", GeneralPage) \
    TEXT(lightoffinterval, "闪灯延迟", "控制设置", GeneralPage) \
    TEXT(devnum, "设备号", "控制设置", GeneralPage) \
    NUMBER(brightadjust, "亮度调节：", "控制设置", GeneralPage) \
    RADIO(wgchartohex, "char(数字字符)转hex", "扫码输出格式", GeneralPage, ScanOutputForm) \
    RADIO(wgchartohexf, "char(数字字符)转hex 反序", "扫码输出格式", GeneralPage, ScanOutputForm) \
    RADIO(tentopidvid, "10进制转pidvid格式", "扫码输出格式", GeneralPage, ScanOutputForm) \
    RADIO(wgcharhextohex, "char(16进制字符)转hex", "扫码输出格式", GeneralPage, ScanOutputForm) \
    RADIO(wgcharhextohexf, "char(16进制字符)转hex 反序", "扫码输出格式", GeneralPage, ScanOutputForm) \
    RADIO(tentopidvidf, "10进制转pidvid 反序", "扫码输出格式", GeneralPage, ScanOutputForm) \
    CHECK(nfcable, "NFC开关", "NFC基本配置", NfcPage) \
    COMBO(outbit, "输出起始位：", "NFC基本配置", NfcPage) \
    COMBO(outlen, "输出长度：", "NFC基本配置", NfcPage) \
    RADIO(nfcpreform, "hex", "NFC基本配置", NfcPage, CardAffixForm) \
    RADIO(nfcsuffform, "char", "NFC基本配置", NfcPage, CardAffixForm) \
    TEXT(nfcprefix, "NFC前缀", "NFC基本配置", NfcPage) \
    TEXT(nfcsuffix, "NFC后缀", "NFC基本配置", NfcPage) \
    CHECK(nfc_beep, "响蜂鸣器", "刷卡后行为", NfcPage) \
    CHECK(nfc_lightoff, "灭灯", "刷卡后行为", NfcPage) \
    CHECK(nfc_flared, "闪红灯", "刷卡后行为", NfcPage) \
    CHECK(nfc_flagreen, "闪绿灯", "刷卡后行为", NfcPage) \
    RADIO(zjformout, "直接输出", "刷卡输出格式设置", NfcPage, CardNumberForm) \
    RADIO(hexformout, "转16进制输出", "刷卡输出格式设置", NfcPage, CardNumberForm) \
    RADIO(tenformout, "转10进制输出", "刷卡输出格式设置", NfcPage, CardNumberForm) \
    RADIO(fxout, "反序", "刷卡输出正反序设置", NfcPage, CardOrder) \
    RADIO(zxout, "正序", "刷卡输出正反序设置", NfcPage, CardOrder) \
    RADIO(idfx, "反序", "刷卡输出正反序设置", NfcPage, IdCardOrder) \
    RADIO(idzx, "正序", "刷卡输出正反序设置", NfcPage, IdCardOrder) \
    RADIO(vg26, "韦根26", "韦根输出方式", WiegandPage, WiegandFormat) \
    RADIO(vg34, "韦根34", "韦根输出方式", WiegandPage, WiegandFormat) \
    CHECK(outputhight_2, "输出高电平", "电平控制", WiegandPage) \
    CHECK(lowvoltage_2, "3.3V", "电平控制", WiegandPage) \
    CHECK(highvoltage_2, "4.3V", "电平控制", WiegandPage) \
    RADIO(tcpO, "TCP", "WIFI输出方式 ", NetworkPage, WifiMethod) \
    RADIO(httpO, "HTTP", "WIFI输出方式 ", NetworkPage, WifiMethod) \
    RADIO(tcpOx, "TCP协议", "WIFI输出方式 ", NetworkPage, WifiMethod) \
    RADIO(httpOx, "HTTP协议", "WIFI输出方式 ", NetworkPage, WifiMethod) \
    RADIO(wiredtcp, "TCP", "有线输出方式", NetworkPage, EthernetMethod) \
    RADIO(wiredtcpx, "TCP协议", "有线输出方式", NetworkPage, EthernetMethod) \
    RADIO(wiredhttp, "HTTP", "有线输出方式", NetworkPage, EthernetMethod) \
    RADIO(wiredhttpx, "HTTP协议", "有线输出方式", NetworkPage, EthernetMethod) \
    CHECK(Sbeepaction, "响蜂鸣器", "网络传输行为", NetworkPage) \
    CHECK(Slightoffaction, "灭白灯", "网络传输行为", NetworkPage) \
    CHECK(Slightredaction, "闪红灯", "网络传输行为", NetworkPage) \
    CHECK(Slightgreenaction, "闪绿灯", "网络传输行为", NetworkPage) \
    CHECK(outputhight, "输出高电平", "网络传输行为", NetworkPage) \
    CHECK(Fbeepaction, "响蜂鸣器", "网络传输行为", NetworkPage) \
    CHECK(Flightoffaction, "灭白灯", "网络传输行为", NetworkPage) \
    CHECK(Flightredaction, "闪红灯", "网络传输行为", NetworkPage) \
    CHECK(Flightgreenaction, "闪绿灯", "网络传输行为", NetworkPage) \
    CHECK(lowvoltage, "3.3V", "网络传输行为", NetworkPage) \
    CHECK(highvoltage, "4.3V", "网络传输行为", NetworkPage) \
    TEXT(wifiname, "连入WIFI名", "WIFI连接设置", NetworkPage) \
    TEXT(wifipasswd, "WIFI密码", "WIFI连接设置", NetworkPage) \
    RADIO(heart_on, "打开", "心跳设置", NetworkPage, Heartbeat) \
    RADIO(heart_off, "关闭", "心跳设置", NetworkPage, Heartbeat) \
    TEXT(heart_time, "心跳包时间", "心跳设置", NetworkPage) \
    TEXT(heart_content, "心跳包内容", "心跳设置", NetworkPage) \
    RADIO(dtip, "动态IP", "IP模式配置", NetworkPage, IpMode) \
    RADIO(jtip, "静态IP", "IP模式配置", NetworkPage, IpMode) \
    TEXT(ip_address, "IP地址", "IP模式配置", NetworkPage) \
    TEXT(ip_mask, "子网掩码", "IP模式配置", NetworkPage) \
    TEXT(ip_gateway, "网关", "IP模式配置", NetworkPage) \
    TEXT(tcpaddr, "TCP服务器地址", "网络配置", NetworkPage) \
    TEXT(tcpport, "TCP端口号", "网络配置", NetworkPage) \
    TEXT(tcpdelay, "TCP接收超时（秒）", "网络配置", NetworkPage) \
    TEXT(httpaddr, "HTTP服务器地址", "网络配置", NetworkPage) \
    TEXT(httpdelay, "HTTP接收超时（秒）", "网络配置", NetworkPage) \
    CHECK(oldpwcheck, "原密码", "修改配置密码", PasswordPage) \
    CHECK(changepwcheck, "改密码", "修改配置密码", PasswordPage) \
    TEXT(newpw, "新密码：", "修改配置密码", PasswordPage) \
    TEXT(confimpw, "确认新密码：", "修改配置密码", PasswordPage)

#endif
