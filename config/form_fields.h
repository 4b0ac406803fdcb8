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
#include <QtGlobal>

#define TARVO_FORM_FIELDS(CHECK, RADIO, TEXT, COMBO, NUMBER) \
    CHECK(tarvo_ZB, QT_TRANSLATE_NOOP("Widget", "ZB系列"), QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), \
          MainArea) \
    CHECK(tarvo_RN450, QT_TRANSLATE_NOOP("Widget", "RN450系列"), \
          QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), MainArea) \
    CHECK(tarvo_WT, QT_TRANSLATE_NOOP("Widget", "WT系列"), QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), \
          MainArea) \
    CHECK(tarvo_E200FK, QT_TRANSLATE_NOOP("Widget", "E200_FK系列"), \
          QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), MainArea) \
    CHECK(tarvo_rseven, QT_TRANSLATE_NOOP("Widget", "R700"), QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), \
          MainArea) \
    CHECK(tarvo_RN310, QT_TRANSLATE_NOOP("Widget", "RN310/620系列"), \
          QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), MainArea) \
    CHECK(tarvo_PL, QT_TRANSLATE_NOOP("Widget", "PL系列"), QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), \
          MainArea) \
    CHECK(tarvo_HD5000, QT_TRANSLATE_NOOP("Widget", "HD5000系列"), \
          QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), MainArea) \
    CHECK(tarvo_KS, QT_TRANSLATE_NOOP("Widget", "KS系列"), QT_TRANSLATE_NOOP("Widget", "产品系列型号选择"), \
          MainArea) \
    RADIO(scanmode, QT_TRANSLATE_NOOP("Widget", "普通"), QT_TRANSLATE_NOOP("Widget", "工作模式"), MainArea, \
          WorkMode) \
    RADIO(developmode, QT_TRANSLATE_NOOP("Widget", "开发"), QT_TRANSLATE_NOOP("Widget", "工作模式"), MainArea, \
          WorkMode) \
    RADIO(ganyingmode, QT_TRANSLATE_NOOP("Widget", "感应模式"), QT_TRANSLATE_NOOP("Widget", "工作模式"), \
          MainArea, WorkMode) \
    RADIO(paymode, QT_TRANSLATE_NOOP("Widget", "支付模式"), QT_TRANSLATE_NOOP("Widget", "工作模式"), MainArea, \
          WorkMode) \
    RADIO(gunmode, QT_TRANSLATE_NOOP("Widget", "扫描枪模式"), QT_TRANSLATE_NOOP("Widget", "工作模式"), MainArea, \
          WorkMode) \
    RADIO(keyboardOut, QT_TRANSLATE_NOOP("Widget", "USB键盘"), QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)"), \
          MainArea, OutputChannel) \
    RADIO(ttlOut, QT_TRANSLATE_NOOP("Widget", "TTL"), QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)"), MainArea, \
          OutputChannel) \
    RADIO(serialOut, QT_TRANSLATE_NOOP("Widget", "RS485/232"), QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)"), \
          MainArea, OutputChannel) \
    RADIO(wifiOut, QT_TRANSLATE_NOOP("Widget", "WIFI"), QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)"), \
          MainArea, OutputChannel) \
    RADIO(ethernetOut, QT_TRANSLATE_NOOP("Widget", "以太网"), QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)"), \
          MainArea, OutputChannel) \
    RADIO(weigenOut, QT_TRANSLATE_NOOP("Widget", "韦根"), QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)"), \
          MainArea, OutputChannel) \
    RADIO(usbhidchoose, QT_TRANSLATE_NOOP("Widget", "usbhid"), QT_TRANSLATE_NOOP("Widget", "二次开发选项"), \
          MainArea, ConfigChannel) \
    RADIO(serialchoose, QT_TRANSLATE_NOOP("Widget", "485/232"), QT_TRANSLATE_NOOP("Widget", "二次开发选项"), \
          MainArea, ConfigChannel) \
    RADIO(ttlchoose, QT_TRANSLATE_NOOP("Widget", "TTL"), QT_TRANSLATE_NOOP("Widget", "二次开发选项"), MainArea, \
          ConfigChannel) \
    RADIO(serialdragxieyi, QT_TRANSLATE_NOOP("Widget", "485一拖多协议"), \
          QT_TRANSLATE_NOOP("Widget", "二次开发选项"), MainArea, ConfigChannel) \
    RADIO(tarvoxy, QT_TRANSLATE_NOOP("Widget", "Tarvo通信协议"), QT_TRANSLATE_NOOP("Widget", "二次开发选项"), \
          MainArea, ConfigChannel) \
    COMBO(baudRate, QT_TRANSLATE_NOOP("Widget", "波特率："), QT_TRANSLATE_NOOP("Widget", "串口参数设置"), \
          MainArea) \
    COMBO(checkBit, QT_TRANSLATE_NOOP("Widget", "校验位："), QT_TRANSLATE_NOOP("Widget", "串口参数设置"), \
          MainArea) \
    COMBO(dataBit, QT_TRANSLATE_NOOP("Widget", "数据位："), QT_TRANSLATE_NOOP("Widget", "串口参数设置"), \
          MainArea) \
    COMBO(stopBit, QT_TRANSLATE_NOOP("Widget", "停止位："), QT_TRANSLATE_NOOP("Widget", "串口参数设置"), \
          MainArea) \
    TEXT(manpw, QT_TRANSLATE_NOOP("Widget", "配置密码(必填)："), QT_TRANSLATE_NOOP("Widget", ""), GeneralPage) \
    CHECK(qrCheck, QT_TRANSLATE_NOOP("Widget", "QR码"), QT_TRANSLATE_NOOP("Widget", "码制选择"), GeneralPage) \
    CHECK(pdf417Check, QT_TRANSLATE_NOOP("Widget", "PDF417"), QT_TRANSLATE_NOOP("Widget", "码制选择"), \
          GeneralPage) \
    CHECK(code128Check, QT_TRANSLATE_NOOP("Widget", "CODE128"), QT_TRANSLATE_NOOP("Widget", "码制选择"), \
          GeneralPage) \
    CHECK(dmCheck, QT_TRANSLATE_NOOP("Widget", "DM码"), QT_TRANSLATE_NOOP("Widget", "码制选择"), GeneralPage) \
    CHECK(isbn10Check, QT_TRANSLATE_NOOP("Widget", "ISBN10"), QT_TRANSLATE_NOOP("Widget", "码制选择"), \
          GeneralPage) \
    CHECK(databarCheck, QT_TRANSLATE_NOOP("Widget", "DATABAR"), QT_TRANSLATE_NOOP("Widget", "码制选择"), \
          GeneralPage) \
    CHECK(barCheck, QT_TRANSLATE_NOOP("Widget", "条码"), QT_TRANSLATE_NOOP("Widget", "码制选择"), GeneralPage) \
    CHECK(itfCheck, QT_TRANSLATE_NOOP("Widget", "ITF"), QT_TRANSLATE_NOOP("Widget", "码制选择"), GeneralPage) \
    CHECK(databar_expCheck, QT_TRANSLATE_NOOP("Widget", "DATABAR_EXP"), QT_TRANSLATE_NOOP("Widget", "码制选择"), \
          GeneralPage) \
    CHECK(upcaCheck, QT_TRANSLATE_NOOP("Widget", "UPCA"), QT_TRANSLATE_NOOP("Widget", "码制选择"), GeneralPage) \
    CHECK(upceCheck, QT_TRANSLATE_NOOP("Widget", "UPCE"), QT_TRANSLATE_NOOP("Widget", "码制选择"), GeneralPage) \
    TEXT(linePrefix, QT_TRANSLATE_NOOP("config", "扫码前缀"), QT_TRANSLATE_NOOP("Widget", "输出设置"), \
         GeneralPage) \
    TEXT(lineSuffix, QT_TRANSLATE_NOOP("config", "扫码后缀"), QT_TRANSLATE_NOOP("Widget", "输出设置"), \
         GeneralPage) \
    RADIO(char_qhz, QT_TRANSLATE_NOOP("Widget", "char"), QT_TRANSLATE_NOOP("Widget", "前后缀格式"), GeneralPage, \
          AffixForm) \
    RADIO(hex_qhz, QT_TRANSLATE_NOOP("Widget", "hex"), QT_TRANSLATE_NOOP("Widget", "前后缀格式"), GeneralPage, \
          AffixForm) \
    RADIO(qrup, QT_TRANSLATE_NOOP("Widget", "qr加强"), QT_TRANSLATE_NOOP("Widget", "解码引擎"), GeneralPage, \
          Decoder) \
    RADIO(barup, QT_TRANSLATE_NOOP("Widget", "条码加强"), QT_TRANSLATE_NOOP("Widget", "解码引擎"), GeneralPage, \
          Decoder) \
    CHECK(wrapCheck, QT_TRANSLATE_NOOP("Widget", "换行"), QT_TRANSLATE_NOOP("Widget", "常规配置"), GeneralPage) \
    CHECK(enterCheck, QT_TRANSLATE_NOOP("Widget", "回车"), QT_TRANSLATE_NOOP("Widget", "常规配置"), GeneralPage) \
    CHECK(ledControl, QT_TRANSLATE_NOOP("Widget", "照明"), QT_TRANSLATE_NOOP("Widget", "常规配置"), GeneralPage) \
    RADIO(singlemode, QT_TRANSLATE_NOOP("Widget", "单次模式"), QT_TRANSLATE_NOOP("Widget", "扫码模式"), \
          GeneralPage, ScanMode) \
    RADIO(intermode, QT_TRANSLATE_NOOP("Widget", "间隔模式"), QT_TRANSLATE_NOOP("Widget", "扫码模式"), \
          GeneralPage, ScanMode) \
    TEXT(lineIntervaltime, QT_TRANSLATE_NOOP("config", "间隔时间(毫秒)"), \
         QT_TRANSLATE_NOOP("Widget", "扫码模式"), GeneralPage) \
    CHECK(buzzers, QT_TRANSLATE_NOOP("Widget", "蜂鸣器"), QT_TRANSLATE_NOOP("Widget", "控制设置"), GeneralPage) \
    CHECK(lightoff, QT_TRANSLATE_NOOP("Widget", "灭灯"), QT_TRANSLATE_NOOP("Widget", "控制设置"), GeneralPage) \
    CHECK(redlight, QT_TRANSLATE_NOOP("Widget", "闪红灯"), QT_TRANSLATE_NOOP("Widget", "控制设置"), GeneralPage) \
    CHECK(greenlight, QT_TRANSLATE_NOOP("Widget", "闪绿灯"), QT_TRANSLATE_NOOP("Widget", "控制设置"), \
          GeneralPage) \
    CHECK(pay_light, QT_TRANSLATE_NOOP("Widget", "支付码闪灯"), QT_TRANSLATE_NOOP("Widget", "控制设置"), \
          GeneralPage) \
    CHECK(pay_light_play, QT_TRANSLATE_NOOP("Widget", "支付码闪灯并播放音频"), \
          QT_TRANSLATE_NOOP("Widget", "控制设置"), GeneralPage) \
    TEXT(beepinterval, QT_TRANSLATE_NOOP("config", "蜂鸣延迟"), QT_TRANSLATE_NOOP("Widget", "控制设置"), \
         GeneralPage) \
    TEXT(lightoffinterval, QT_TRANSLATE_NOOP("config", "闪灯延迟"), QT_TRANSLATE_NOOP("Widget", "控制设置"), \
         GeneralPage) \
    TEXT(devnum, QT_TRANSLATE_NOOP("config", "设备号"), QT_TRANSLATE_NOOP("Widget", "控制设置"), GeneralPage) \
    NUMBER(brightadjust, QT_TRANSLATE_NOOP("Widget", "亮度调节："), QT_TRANSLATE_NOOP("Widget", "控制设置"), \
           GeneralPage) \
    RADIO(wgchartohex, QT_TRANSLATE_NOOP("Widget", "char(数字字符)转hex"), \
          QT_TRANSLATE_NOOP("Widget", "扫码输出格式"), GeneralPage, ScanOutputForm) \
    RADIO(wgchartohexf, QT_TRANSLATE_NOOP("Widget", "char(数字字符)转hex 反序"), \
          QT_TRANSLATE_NOOP("Widget", "扫码输出格式"), GeneralPage, ScanOutputForm) \
    RADIO(tentopidvid, QT_TRANSLATE_NOOP("Widget", "10进制转pidvid格式"), \
          QT_TRANSLATE_NOOP("Widget", "扫码输出格式"), GeneralPage, ScanOutputForm) \
    RADIO(wgcharhextohex, QT_TRANSLATE_NOOP("Widget", "char(16进制字符)转hex"), \
          QT_TRANSLATE_NOOP("Widget", "扫码输出格式"), GeneralPage, ScanOutputForm) \
    RADIO(wgcharhextohexf, QT_TRANSLATE_NOOP("Widget", "char(16进制字符)转hex 反序"), \
          QT_TRANSLATE_NOOP("Widget", "扫码输出格式"), GeneralPage, ScanOutputForm) \
    RADIO(tentopidvidf, QT_TRANSLATE_NOOP("Widget", "10进制转pidvid 反序"), \
          QT_TRANSLATE_NOOP("Widget", "扫码输出格式"), GeneralPage, ScanOutputForm) \
    CHECK(nfcable, QT_TRANSLATE_NOOP("Widget", "NFC开关"), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), NfcPage) \
    COMBO(outbit, QT_TRANSLATE_NOOP("Widget", "输出起始位："), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), \
          NfcPage) \
    COMBO(outlen, QT_TRANSLATE_NOOP("Widget", "输出长度："), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), \
          NfcPage) \
    RADIO(nfcpreform, QT_TRANSLATE_NOOP("Widget", "hex"), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), NfcPage, \
          CardAffixForm) \
    RADIO(nfcsuffform, QT_TRANSLATE_NOOP("Widget", "char"), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), NfcPage, \
          CardAffixForm) \
    TEXT(nfcprefix, QT_TRANSLATE_NOOP("config", "NFC前缀"), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), NfcPage) \
    TEXT(nfcsuffix, QT_TRANSLATE_NOOP("config", "NFC后缀"), QT_TRANSLATE_NOOP("Widget", "NFC基本配置"), NfcPage) \
    CHECK(nfc_beep, QT_TRANSLATE_NOOP("Widget", "响蜂鸣器"), QT_TRANSLATE_NOOP("Widget", "刷卡后行为"), NfcPage) \
    CHECK(nfc_lightoff, QT_TRANSLATE_NOOP("Widget", "灭灯"), QT_TRANSLATE_NOOP("Widget", "刷卡后行为"), NfcPage) \
    CHECK(nfc_flared, QT_TRANSLATE_NOOP("Widget", "闪红灯"), QT_TRANSLATE_NOOP("Widget", "刷卡后行为"), NfcPage) \
    CHECK(nfc_flagreen, QT_TRANSLATE_NOOP("Widget", "闪绿灯"), QT_TRANSLATE_NOOP("Widget", "刷卡后行为"), \
          NfcPage) \
    RADIO(zjformout, QT_TRANSLATE_NOOP("Widget", "直接输出"), QT_TRANSLATE_NOOP("Widget", "刷卡输出格式设置"), \
          NfcPage, CardNumberForm) \
    RADIO(hexformout, QT_TRANSLATE_NOOP("Widget", "转16进制输出"), \
          QT_TRANSLATE_NOOP("Widget", "刷卡输出格式设置"), NfcPage, CardNumberForm) \
    RADIO(tenformout, QT_TRANSLATE_NOOP("Widget", "转10进制输出"), \
          QT_TRANSLATE_NOOP("Widget", "刷卡输出格式设置"), NfcPage, CardNumberForm) \
    RADIO(fxout, QT_TRANSLATE_NOOP("Widget", "反序"), QT_TRANSLATE_NOOP("Widget", "刷卡输出正反序设置"), \
          NfcPage, CardOrder) \
    RADIO(zxout, QT_TRANSLATE_NOOP("Widget", "正序"), QT_TRANSLATE_NOOP("Widget", "刷卡输出正反序设置"), \
          NfcPage, CardOrder) \
    RADIO(idfx, QT_TRANSLATE_NOOP("Widget", "反序"), QT_TRANSLATE_NOOP("Widget", "刷卡输出正反序设置"), NfcPage, \
          IdCardOrder) \
    RADIO(idzx, QT_TRANSLATE_NOOP("Widget", "正序"), QT_TRANSLATE_NOOP("Widget", "刷卡输出正反序设置"), NfcPage, \
          IdCardOrder) \
    RADIO(vg26, QT_TRANSLATE_NOOP("Widget", "韦根26"), QT_TRANSLATE_NOOP("Widget", "韦根输出方式"), WiegandPage, \
          WiegandFormat) \
    RADIO(vg34, QT_TRANSLATE_NOOP("Widget", "韦根34"), QT_TRANSLATE_NOOP("Widget", "韦根输出方式"), WiegandPage, \
          WiegandFormat) \
    CHECK(outputhight_2, QT_TRANSLATE_NOOP("Widget", "输出高电平"), QT_TRANSLATE_NOOP("Widget", "电平控制"), \
          WiegandPage) \
    CHECK(lowvoltage_2, QT_TRANSLATE_NOOP("Widget", "3.3V"), QT_TRANSLATE_NOOP("Widget", "电平控制"), \
          WiegandPage) \
    CHECK(highvoltage_2, QT_TRANSLATE_NOOP("Widget", "4.3V"), QT_TRANSLATE_NOOP("Widget", "电平控制"), \
          WiegandPage) \
    RADIO(tcpO, QT_TRANSLATE_NOOP("Widget", "TCP"), QT_TRANSLATE_NOOP("Widget", "WIFI输出方式 "), NetworkPage, \
          WifiMethod) \
    RADIO(httpO, QT_TRANSLATE_NOOP("Widget", "HTTP"), QT_TRANSLATE_NOOP("Widget", "WIFI输出方式 "), NetworkPage, \
          WifiMethod) \
    RADIO(tcpOx, QT_TRANSLATE_NOOP("Widget", "TCP协议"), QT_TRANSLATE_NOOP("Widget", "WIFI输出方式 "), \
          NetworkPage, WifiMethod) \
    RADIO(httpOx, QT_TRANSLATE_NOOP("Widget", "HTTP协议"), QT_TRANSLATE_NOOP("Widget", "WIFI输出方式 "), \
          NetworkPage, WifiMethod) \
    RADIO(wiredtcp, QT_TRANSLATE_NOOP("Widget", "TCP"), QT_TRANSLATE_NOOP("Widget", "有线输出方式"), \
          NetworkPage, EthernetMethod) \
    RADIO(wiredtcpx, QT_TRANSLATE_NOOP("Widget", "TCP协议"), QT_TRANSLATE_NOOP("Widget", "有线输出方式"), \
          NetworkPage, EthernetMethod) \
    RADIO(wiredhttp, QT_TRANSLATE_NOOP("Widget", "HTTP"), QT_TRANSLATE_NOOP("Widget", "有线输出方式"), \
          NetworkPage, EthernetMethod) \
    RADIO(wiredhttpx, QT_TRANSLATE_NOOP("Widget", "HTTP协议"), QT_TRANSLATE_NOOP("Widget", "有线输出方式"), \
          NetworkPage, EthernetMethod) \
    CHECK(Sbeepaction, QT_TRANSLATE_NOOP("Widget", "响蜂鸣器"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Slightoffaction, QT_TRANSLATE_NOOP("Widget", "灭白灯"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Slightredaction, QT_TRANSLATE_NOOP("Widget", "闪红灯"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Slightgreenaction, QT_TRANSLATE_NOOP("Widget", "闪绿灯"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(outputhight, QT_TRANSLATE_NOOP("Widget", "输出高电平"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Fbeepaction, QT_TRANSLATE_NOOP("Widget", "响蜂鸣器"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Flightoffaction, QT_TRANSLATE_NOOP("Widget", "灭白灯"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Flightredaction, QT_TRANSLATE_NOOP("Widget", "闪红灯"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(Flightgreenaction, QT_TRANSLATE_NOOP("Widget", "闪绿灯"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(lowvoltage, QT_TRANSLATE_NOOP("Widget", "3.3V"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    CHECK(highvoltage, QT_TRANSLATE_NOOP("Widget", "4.3V"), QT_TRANSLATE_NOOP("Widget", "网络传输行为"), \
          NetworkPage) \
    TEXT(wifiname, QT_TRANSLATE_NOOP("config", "连入WIFI名"), QT_TRANSLATE_NOOP("Widget", "WIFI连接设置"), \
         NetworkPage) \
    TEXT(wifipasswd, QT_TRANSLATE_NOOP("config", "WIFI密码"), QT_TRANSLATE_NOOP("Widget", "WIFI连接设置"), \
         NetworkPage) \
    RADIO(heart_on, QT_TRANSLATE_NOOP("Widget", "打开"), QT_TRANSLATE_NOOP("Widget", "心跳设置"), NetworkPage, \
          Heartbeat) \
    RADIO(heart_off, QT_TRANSLATE_NOOP("Widget", "关闭"), QT_TRANSLATE_NOOP("Widget", "心跳设置"), NetworkPage, \
          Heartbeat) \
    TEXT(heart_time, QT_TRANSLATE_NOOP("config", "心跳包时间"), QT_TRANSLATE_NOOP("Widget", "心跳设置"), \
         NetworkPage) \
    TEXT(heart_content, QT_TRANSLATE_NOOP("config", "心跳包内容"), QT_TRANSLATE_NOOP("Widget", "心跳设置"), \
         NetworkPage) \
    RADIO(dtip, QT_TRANSLATE_NOOP("Widget", "动态IP"), QT_TRANSLATE_NOOP("Widget", "IP模式配置"), NetworkPage, \
          IpMode) \
    RADIO(jtip, QT_TRANSLATE_NOOP("Widget", "静态IP"), QT_TRANSLATE_NOOP("Widget", "IP模式配置"), NetworkPage, \
          IpMode) \
    TEXT(ip_address, QT_TRANSLATE_NOOP("config", "IP地址"), QT_TRANSLATE_NOOP("Widget", "IP模式配置"), \
         NetworkPage) \
    TEXT(ip_mask, QT_TRANSLATE_NOOP("config", "子网掩码"), QT_TRANSLATE_NOOP("Widget", "IP模式配置"), \
         NetworkPage) \
    TEXT(ip_gateway, QT_TRANSLATE_NOOP("config", "网关"), QT_TRANSLATE_NOOP("Widget", "IP模式配置"), \
         NetworkPage) \
    TEXT(tcpaddr, QT_TRANSLATE_NOOP("config", "TCP服务器地址"), QT_TRANSLATE_NOOP("Widget", "网络配置"), \
         NetworkPage) \
    TEXT(tcpport, QT_TRANSLATE_NOOP("config", "TCP端口号"), QT_TRANSLATE_NOOP("Widget", "网络配置"), \
         NetworkPage) \
    TEXT(tcpdelay, QT_TRANSLATE_NOOP("config", "TCP接收超时（秒）"), QT_TRANSLATE_NOOP("Widget", "网络配置"), \
         NetworkPage) \
    TEXT(httpaddr, QT_TRANSLATE_NOOP("config", "HTTP服务器地址"), QT_TRANSLATE_NOOP("Widget", "网络配置"), \
         NetworkPage) \
    TEXT(httpdelay, QT_TRANSLATE_NOOP("config", "HTTP接收超时（秒）"), QT_TRANSLATE_NOOP("Widget", "网络配置"), \
         NetworkPage) \
    CHECK(oldpwcheck, QT_TRANSLATE_NOOP("Widget", "原密码"), QT_TRANSLATE_NOOP("Widget", "修改配置密码"), \
          PasswordPage) \
    CHECK(changepwcheck, QT_TRANSLATE_NOOP("Widget", "改密码"), QT_TRANSLATE_NOOP("Widget", "修改配置密码"), \
          PasswordPage) \
    TEXT(newpw, QT_TRANSLATE_NOOP("Widget", "新密码："), QT_TRANSLATE_NOOP("Widget", "修改配置密码"), \
         PasswordPage) \
    TEXT(confimpw, QT_TRANSLATE_NOOP("Widget", "确认新密码："), QT_TRANSLATE_NOOP("Widget", "修改配置密码"), \
         PasswordPage)

#endif
