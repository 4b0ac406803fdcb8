<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BatchRows</name>
    <message>
        <source>读卡器</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source>制造商</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>BatchWriteDialog</name>
    <message>
        <source>批量写入</source>
        <translation>Write to many readers</translation>
    </message>
    <message>
        <source>网络读卡器：主机:端口 或 192.168.1.10-60:47811</source>
        <translation>Network readers: host:port or 192.168.1.10-60:47811</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>移除所选</source>
        <translation>Remove selected</translation>
    </message>
    <message>
        <source>移除所选的网络读卡器</source>
        <translation>Remove the selected network readers</translation>
    </message>
    <message>
        <source>同时写入：</source>
        <translation>At once:</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>重试失败项</source>
        <translation>Retry failed</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>最多可添加 %1 个网络读卡器：请先移除用不到的。</source>
        <translation>At most %1 network readers can be added: remove the ones not needed first.</translation>
    </message>
    <message>
        <source>%1 与另一行是同一个读卡器：请只勾选其中一行。</source>
        <translation>%1 is the same reader as another row: check only one of them.</translation>
    </message>
    <message>
        <source>配置未能生成，没有写入任何读卡器。</source>
        <translation>The configuration could not be built; no reader was written.</translation>
    </message>
    <message>
        <source>已停止：不再开始新的写入，正在进行的写入完成后结束。</source>
        <translation>Stopped: no further write starts; the writes under way finish first.</translation>
    </message>
    <message>
        <source>写入结束：成功 %1，失败 %2，未确认 %3。</source>
        <translation>Done: %1 saved, %2 failed, %3 unconfirmed.</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>Failed: %1</translation>
    </message>
    <message>
        <source>未确认：%1</source>
        <translation>Unconfirmed: %1</translation>
    </message>
    <message>
        <source>正在写入…</source>
        <translation>Writing…</translation>
    </message>
    <message>
        <source>写入记录的位置；某一行另填位置时以该行为准</source>
        <translation>The place kept in the records; a row&apos;s own place takes precedence</translation>
    </message>
    <message>
        <source>位置：</source>
        <translation>Place:</translation>
    </message>
    <message numerus="yes">
        <source>已添加 %n 个读卡器。</source>
        <translation>
            <numerusform>%n reader added.</numerusform>
            <numerusform>%n readers added.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>正在写入 %n 个读卡器…</source>
        <translation>
            <numerusform>Writing to %n reader…</numerusform>
            <numerusform>Writing to %n readers…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已停止，%n 个读卡器没有写入。</source>
        <translation>
            <numerusform>Stopped; %n reader was not written.</numerusform>
            <numerusform>Stopped; %n readers were not written.</numerusform>
        </translation>
    </message>
    <message>
        <source>检查</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>载入站点表…</source>
        <translation>Load Site Sheet…</translation>
    </message>
    <message>
        <source>把勾选的读卡器与这份配置逐项比较，不写入</source>
        <translation>Compare the checked readers with this configuration key by key, writing nothing</translation>
    </message>
    <message>
        <source>在地址栏给出的范围中查找读卡器，如 127.0.0.1:47811-47830 或 192.168.1.0/24</source>
        <translation>Find readers in the range typed into the address field, such as 127.0.0.1:47811-47830 or 192.168.1.0/24</translation>
    </message>
    <message>
        <source>载入站点表（CSV：link、place 及各读卡器自己的配置项）</source>
        <translation>Load a site sheet (CSV: link, place and each reader&apos;s own settings)</translation>
    </message>
    <message>
        <source>请先勾选读卡器。</source>
        <translation>Check the readers first.</translation>
    </message>
    <message>
        <source>已停止：不再开始新的读卡器，正在进行的完成后结束。</source>
        <translation>Stopped: no further reader starts; those under way finish.</translation>
    </message>
    <message>
        <source>正在检查…</source>
        <translation>Checking…</translation>
    </message>
    <message numerus="yes">
        <source>正在检查 %n 个读卡器…</source>
        <translation>
            <numerusform>Checking %n reader…</numerusform>
            <numerusform>Checking %n readers…</numerusform>
        </translation>
    </message>
    <message>
        <source>未能检查：%1</source>
        <translation>Not checked: %1</translation>
    </message>
    <message>
        <source>一致</source>
        <translation>Same</translation>
    </message>
    <message numerus="yes">
        <source>不同：%n 项</source>
        <translation>
            <numerusform>Different: %n setting</numerusform>
            <numerusform>Different: %n settings</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>正在查找 %n 个地址…</source>
        <translation>
            <numerusform>Trying %n address…</numerusform>
            <numerusform>Trying %n addresses…</numerusform>
        </translation>
    </message>
    <message>
        <source>载入站点表</source>
        <translation>Load Site Sheet</translation>
    </message>
    <message>
        <source>站点表 (*.csv);;所有文件 (*)</source>
        <translation>Site sheets (*.csv);;All files (*)</translation>
    </message>
    <message numerus="yes">
        <source>已载入站点表：%n 个读卡器。</source>
        <translation>
            <numerusform>Site sheet loaded: %n reader.</numerusform>
            <numerusform>Site sheet loaded: %n readers.</numerusform>
        </translation>
    </message>
    <message>
        <source>检查结束：一致 %1，不同 %2，未能检查 %3。</source>
        <translation>Check done: %1 same, %2 different, %3 not checked.</translation>
    </message>
    <message numerus="yes">
        <source>找到 %n 个读卡器</source>
        <translation>
            <numerusform>Found %n reader</numerusform>
            <numerusform>Found %n readers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>，新添加 %n 行。</source>
        <translation>
            <numerusform>, %n row added.</numerusform>
            <numerusform>, %n rows added.</numerusform>
        </translation>
    </message>
    <message>
        <source>检查：与配置一致。</source>
        <translation>Check: the same as the configuration.</translation>
    </message>
    <message numerus="yes">
        <source>检查：与配置不同的 %n 项：</source>
        <translation>
            <numerusform>Check: %n setting differs from the configuration:</numerusform>
            <numerusform>Check: %n settings differ from the configuration:</numerusform>
        </translation>
    </message>
    <message>
        <source>站点表第 %1 行的值：</source>
        <translation>Values of line %1 of the site sheet:</translation>
    </message>
    <message>
        <source>正在等待进行中的读卡器完成，之后关闭…</source>
        <translation>Waiting for the readers under way to finish, then closing…</translation>
    </message>
    <message>
        <source>选中一行：检查发现的不同之处和站点表给它的值显示在这里。</source>
        <translation>Select a row: what a check found different and the values the site sheet gives it show here.</translation>
    </message>
    <message>
        <source>站点表中 %1 与另一行是同一个读卡器。</source>
        <translation>In the site sheet, %1 is the same reader as another row.</translation>
    </message>
</context>
<context>
    <name>BatchWriteEntry</name>
    <message>
        <source>批量写入…</source>
        <translation>Write to many readers…</translation>
    </message>
    <message>
        <source>把这份配置同时写入多个读卡器</source>
        <translation>Write this configuration to many readers at once</translation>
    </message>
</context>
<context>
    <name>CauseWords</name>
    <message>
        <source>读卡器的配置与文件不同。</source>
        <translation>The reader&apos;s configuration differs from the file.</translation>
    </message>
</context>
<context>
    <name>ChangeWords</name>
    <message>
        <source>%1：%2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
</context>
<context>
    <name>CodeActions</name>
    <message>
        <source>PNG 图片 (*.png);;SVG 矢量图 (*.svg);;PDF 文档 (*.pdf)</source>
        <translation>PNG image (*.png);;SVG image (*.svg);;PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>导出配置码…</source>
        <translation>Export config code…</translation>
    </message>
    <message>
        <source>打印配置码…</source>
        <translation>Print config code…</translation>
    </message>
    <message>
        <source>复制配置码</source>
        <translation>Copy config code</translation>
    </message>
    <message>
        <source>放大显示</source>
        <translation>Show large</translation>
    </message>
    <message>
        <source>配置码</source>
        <translation>Config code</translation>
    </message>
    <message>
        <source>导出、打印、复制或放大显示配置码</source>
        <translation>Export, print, copy or show the config code large</translation>
    </message>
    <message>
        <source>导出配置码</source>
        <translation>Export config code</translation>
    </message>
    <message>
        <source>配置码未能导出到 %1</source>
        <translation>The config code could not be exported to %1</translation>
    </message>
    <message>
        <source>打印配置码</source>
        <translation>Print config code</translation>
    </message>
    <message>
        <source>配置码未能打印</source>
        <translation>The config code could not be printed</translation>
    </message>
    <message>
        <source>配置码包含新的配置密码。也把配置文本（含新密码）复制到剪贴板吗？</source>
        <translation>The config code carries a new configuration password. Copy the configuration text (with the new password) to the clipboard too?</translation>
    </message>
    <message>
        <source>配置已更改，请重新生成配置码</source>
        <translation>Settings changed: make the config code again</translation>
    </message>
    <message>
        <source>配置码已导出到 %1</source>
        <translation>Config code exported to %1</translation>
    </message>
</context>
<context>
    <name>CodeZoomView</name>
    <message>
        <source>配置码</source>
        <translation>Config code</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>--lang 需要 zh 或 en</source>
        <translation>--lang takes zh or en</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>配置 Tarvo 读头。不指定模式时打开窗口，并载入 FILE。
详见 man tarvo-config。</source>
        <translation>Configures Tarvo readers. Without a mode, shows the window with FILE loaded.
See man tarvo-config.</translation>
    </message>
    <message>
        <source>打印 FILE 的签名配置文本。</source>
        <translation>Print FILE&apos;s signed configuration text.</translation>
    </message>
    <message>
        <source>把 FILE 的配置码写入 OUT（.png、.svg 或 .pdf）。</source>
        <translation>Write FILE&apos;s config code to OUT (.png, .svg or .pdf).</translation>
    </message>
    <message>
        <source>把 FILE 的配置以配置文件写入 OUT。</source>
        <translation>Write FILE&apos;s configuration to OUT as a configuration file.</translation>
    </message>
    <message>
        <source>把 FILE 的配置保存到 --device 给出的每个读头。</source>
        <translation>Save FILE&apos;s configuration to each reader given by --device.</translation>
    </message>
    <message>
        <source>要写入的读头：tcp:HOST:PORT 或 serial:PATH[:BAUD[:FORMAT]]；多个读头重复给出。</source>
        <translation>A reader to write to, as tcp:HOST:PORT or serial:PATH[:BAUD[:FORMAT]]; repeat for more readers.</translation>
    </message>
    <message>
        <source>与 --write 同用：同时最多写入 N 个读头（默认 16）。</source>
        <translation>With --write, save to at most N readers at once (default 16).</translation>
    </message>
    <message>
        <source>与 --write 同用：每个读头打印一个 JSON 对象，而不是一行。</source>
        <translation>With --write, print one JSON object a reader instead of a line.</translation>
    </message>
    <message>
        <source>从 PATH 读取配置密码（否则取 TARVO_CONFIG_PASSWORD）。</source>
        <translation>Read the configuration password from PATH (else from TARVO_CONFIG_PASSWORD).</translation>
    </message>
    <message>
        <source>把读头的密码改为 PATH 中的密码（否则取已设置的 TARVO_NEW_PASSWORD）。</source>
        <translation>Change the reader&apos;s password to the one in PATH (else TARVO_NEW_PASSWORD, if set).</translation>
    </message>
    <message>
        <source>打印写入读头的保存记录，每次保存一行。</source>
        <translation>Print the record of saves to readers, one line a save.</translation>
    </message>
    <message>
        <source>与 --history 同用：只列出 DATE（YYYY-MM-DD 或 ISO 时间）以来的保存。</source>
        <translation>With --history: only the saves from DATE (YYYY-MM-DD or an ISO time) on.</translation>
    </message>
    <message>
        <source>与 --history 同用：以 CSV 格式打印。</source>
        <translation>With --history: print CSV.</translation>
    </message>
    <message>
        <source>窗口和消息的语言：zh 或 en。</source>
        <translation>Language of the window and of the messages: zh or en.</translation>
    </message>
    <message>
        <source>把调试日志写到标准错误。</source>
        <translation>Write the debug log to standard error.</translation>
    </message>
    <message>
        <source>配置文件（*.tcfg）或读头的配置文本。</source>
        <translation>A configuration file (*.tcfg) or a reader&apos;s text.</translation>
    </message>
    <message>
        <source>--text、--code、--save-as、--write 和 --history 不能同时使用</source>
        <translation>--text, --code, --save-as, --write and --history exclude each other</translation>
    </message>
    <message>
        <source>--since 和 --csv 只能与 --history 同用</source>
        <translation>--since and --csv go with --history</translation>
    </message>
    <message>
        <source>--device 需要一个 LINK，例如 tcp:HOST:PORT 或 serial:PATH</source>
        <translation>--device needs a LINK such as tcp:HOST:PORT or serial:PATH</translation>
    </message>
    <message>
        <source>最多只能给出一个 FILE</source>
        <translation>name one FILE at most</translation>
    </message>
    <message>
        <source>需要给出一个要读取的 FILE</source>
        <translation>name exactly one FILE to read</translation>
    </message>
    <message>
        <source>--code 只写 .png、.svg 或 .pdf 文件</source>
        <translation>--code writes .png, .svg or .pdf files</translation>
    </message>
    <message>
        <source>--jobs 需要 1 到 %1 之间的数</source>
        <translation>--jobs takes a number from 1 to %1</translation>
    </message>
    <message>
        <source>%1 所指的读头已由前面的 --device 给出</source>
        <translation>%1 reaches a reader that an earlier --device already names</translation>
    </message>
    <message>
        <source>--history 不读取 FILE</source>
        <translation>--history reads no FILE</translation>
    </message>
    <message>
        <source>无法写入标准输出：%1</source>
        <translation>cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>用 --help 查看用法。</source>
        <translation>Try --help.</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>没有配置密码：请设置 TARVO_CONFIG_PASSWORD 或给出 --password-file</source>
        <translation>no configuration password: set TARVO_CONFIG_PASSWORD or give --password-file</translation>
    </message>
    <message>
        <source>%1 个成功，%2 个失败，%3 个未确认</source>
        <translation>%1 ok, %2 failed, %3 unknown</translation>
    </message>
    <message>
        <source>--jobs、--json 和 --place 只能与 --write 同用</source>
        <translation>--jobs, --json and --place go with --write</translation>
    </message>
    <message>
        <source>--since 需要 YYYY-MM-DD 格式的日期，或 YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM] 格式的时间</source>
        <translation>--since takes a date as YYYY-MM-DD or a time as YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM]</translation>
    </message>
    <message>
        <source>与 --write、--check 或 --read 同用：读头所在的位置（例如“3号楼 东门”），记入每个读头的记录和 JSON 行。</source>
        <translation>With --write, --check or --read, where the readers are (e.g. &quot;building 3, east door&quot;), kept in each reader&apos;s record and JSON line.</translation>
    </message>
    <message>
        <source>--force 只能与 --write 同用</source>
        <translation>--force goes with --write</translation>
    </message>
    <message>
        <source>把 --device 给出的每个读头与 FILE 的配置比较；不写入，也不需要密码。</source>
        <translation>Compare each reader given by --device with FILE&apos;s configuration; writes nothing and needs no password.</translation>
    </message>
    <message>
        <source>把 --device 给出的每个读头的配置备份到 --save-as 给出的文件夹；只有一个读头时也可以是一个文件。</source>
        <translation>Back up each reader given by --device into --save-as DIR (or FILE for one reader).</translation>
    </message>
    <message>
        <source>在范围 RANGE 中查找网络上的读头，RANGE 可为 HOST-LAST:PORT、A.B.C.0/24[:PORT] 或 HOST:PORT-PORT；给出 serial 时列出串口。</source>
        <translation>Find readers in RANGE (HOST-LAST:PORT, A.B.C.0/24[:PORT], HOST:PORT-PORT), or list the serial ports (serial).</translation>
    </message>
    <message>
        <source>与 --write 同用：已持有该配置的读头也写入。</source>
        <translation>With --write, write readers that hold the configuration already.</translation>
    </message>
    <message>
        <source>无法载入程序的绘图部分：%1</source>
        <translation>cannot load the program&apos;s painting part: %1</translation>
    </message>
    <message>
        <source>--write 需要至少一个 --device LINK 或 --sheet SITE.csv</source>
        <translation>--write needs at least one --device LINK or --sheet SITE.csv</translation>
    </message>
    <message>
        <source>--set 需要 KEY=VALUE，并且只能与 --write、--text、--code 或 --save-as 同用</source>
        <translation>--set takes KEY=VALUE and goes with --write, --text, --code or --save-as</translation>
    </message>
    <message>
        <source>与 --write、--check、--text、--code 或 --save-as 同用：本次运行中把配置项 KEY（配置文本中的键，如 devnum、ip、port、brightness）设为 VALUE，可重复给出。未知的键或不合规则的值在写入前被拒绝（退出码 1）；没有“=”是用法错误（退出码 2）。密码类的值不能写在参数中。</source>
        <translation>With --write, --check, --text, --code or --save-as: for this run, set the configuration&apos;s KEY (a key of the configuration text, such as devnum, ip, port, brightness) to VALUE; may be repeated. An unknown key or a value its rule refuses is refused before anything is written (exit code 1); an argument without &quot;=&quot; is a usage error (exit code 2). Secrets are never taken from the arguments.</translation>
    </message>
    <message>
        <source>读头表（UTF-8 CSV，表头为 link、place 及要设置的键）：与 --write 或 --check 同用时，每行一个读头，用自己的位置和值覆盖 FILE（及 --set）的值，任何一行被拒绝则什么都不写（退出码 1）；与 --read 同用时写出这样的表，每个读到的读头一行，只列出各读头取值不同的键（密码类除外）。</source>
        <translation>A site sheet (UTF-8 CSV; a header of link, place and the keys it sets). With --write or --check: one reader a row, with its own place and values over those of FILE (and --set); a row refused writes nothing at all (exit code 1). With --read: writes such a sheet, a row for each reader read, with a column for each key whose value differs between them (secrets left out).</translation>
    </message>
    <message>
        <source>--device 只能与 --write 同用</source>
        <translation>--device goes with --write</translation>
    </message>
    <message>
        <source>--sheet 只能与 --write、--check 或 --read 同用</source>
        <translation>--sheet goes with --write, --check or --read</translation>
    </message>
    <message>
        <source>无法载入程序的读头部分：%1</source>
        <translation>cannot load the program&apos;s readers part: %1</translation>
    </message>
    <message>
        <source>--set 需要 KEY=VALUE</source>
        <translation>--set takes KEY=VALUE</translation>
    </message>
</context>
<context>
    <name>ConfigFileController</name>
    <message>
        <source>打开配置文件</source>
        <translation>Open configuration file</translation>
    </message>
    <message>
        <source>保存配置文件</source>
        <translation>Save configuration file</translation>
    </message>
    <message>
        <source>配置文件 (*.tcfg);;所有文件 (*)</source>
        <translation>Configuration files (*.tcfg);;All files (*)</translation>
    </message>
    <message>
        <source>打开配置文件…</source>
        <translation>Open configuration file…</translation>
    </message>
    <message>
        <source>配置文件</source>
        <translation>Config file</translation>
    </message>
    <message>
        <source>打开或保存配置文件</source>
        <translation>Open or save a configuration file</translation>
    </message>
    <message>
        <source>最近使用的文件</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>config</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>配置文件 %1 有未保存的修改。要保存吗？</source>
        <translation>The configuration file %1 has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>配置文件另存为…</source>
        <translation>Save Configuration File As…</translation>
    </message>
</context>
<context>
    <name>DeviceChooser</name>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>固定名称</source>
        <translation>Stable name</translation>
    </message>
    <message>
        <source>描述</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>制造商</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>序列号</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>串口读卡器</source>
        <translation>Reader on a serial port</translation>
    </message>
    <message>
        <source>网络读卡器</source>
        <translation>Reader on the network</translation>
    </message>
    <message>
        <source>选择设备</source>
        <translation>Choose reader</translation>
    </message>
    <message>
        <source>环境变量 TRVO_DEVICE 已设置为 %1，连接时以它为准；这里的选择在它取消后生效。</source>
        <translation>The environment variable TRVO_DEVICE is set to %1 and decides the connection; the choice made here applies once it is unset.</translation>
    </message>
    <message>
        <source>端口路径</source>
        <translation>Port path</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>数据位/校验/停止位</source>
        <translation>Data bits/parity/stop bits</translation>
    </message>
    <message>
        <source>主机</source>
        <translation>Host</translation>
    </message>
</context>
<context>
    <name>DeviceSession</name>
    <message>
        <source>选择设备…</source>
        <translation>Choose reader…</translation>
    </message>
    <message>
        <source>读卡器：%1%2</source>
        <translation>Reader: %1%2</translation>
    </message>
    <message>
        <source>（由 TRVO_DEVICE 指定）</source>
        <translation> (set by TRVO_DEVICE)</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
</context>
<context>
    <name>KeyboardCapture</name>
    <message>
        <source>点这里，再扫码或刷卡</source>
        <translation>Click here, then scan a code or present a card</translation>
    </message>
    <message>
        <source>按键间隔（毫秒）：%1；平均 %2 毫秒</source>
        <translation>Time between keys (ms): %1; average %2 ms</translation>
    </message>
</context>
<context>
    <name>OutputTestEntry</name>
    <message>
        <source>输出测试…</source>
        <translation>Output Test…</translation>
    </message>
    <message>
        <source>看读头按这份配置输出什么</source>
        <translation>See what the reader sends with this configuration</translation>
    </message>
    <message>
        <source>输出测试</source>
        <translation>Output Test</translation>
    </message>
    <message>
        <source>无法打开输出测试：程序的这一部分没有装好。</source>
        <translation>The output test cannot be opened: this part of the program is not installed properly.</translation>
    </message>
</context>
<context>
    <name>OutputTestWindow</name>
    <message>
        <source>输出测试</source>
        <translation>Output Test</translation>
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
        <source>RS485/232</source>
        <translation>RS485/232</translation>
    </message>
    <message>
        <source>TTL</source>
        <translation>TTL</translation>
    </message>
    <message>
        <source>USB键盘</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>韦根</source>
        <translation>Wiegand</translation>
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
        <source>回复内容（可不填）</source>
        <translation>Reply (optional)</translation>
    </message>
    <message>
        <source>每条消息后发回给读头的内容，供以灯光或蜂鸣提示服务器应答的读头使用</source>
        <translation>Sent back to the reader after each message, for readers that signal the server&apos;s answer by light or beep</translation>
    </message>
    <message>
        <source>通道：</source>
        <translation>Channel:</translation>
    </message>
    <message>
        <source>选中一条消息，看它的全部内容</source>
        <translation>Select a message to see all of it</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>复制选中的消息，未选中时复制全部</source>
        <translation>Copy the selected messages, or all of them when none is selected</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>保存…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>串口：</source>
        <translation>Serial port:</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>USB键盘输出：点输入框，再扫码或刷卡。</source>
        <translation>USB keyboard output: click the input field, then scan a code or present a card.</translation>
    </message>
    <message>
        <source>电脑无法接收韦根输出：请接门禁控制器或韦根转换器检查。读头按韦根%1输出，卡号格式：%2。</source>
        <translation>A PC cannot receive Wiegand output: check it with an access controller or a Wiegand converter. The reader sends Wiegand %1, card numbers %2.</translation>
    </message>
    <message>
        <source>正在串口 %1 上接收。</source>
        <translation>Receiving on serial port %1.</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>%1 端口 %2</source>
        <translation>%1 port %2</translation>
    </message>
    <message>
        <source>串口 %1</source>
        <translation>serial port %1</translation>
    </message>
    <message>
        <source>无法打开%1：%2。%3</source>
        <translation>Cannot open %1: %2. %3</translation>
    </message>
    <message>
        <source>保存消息</source>
        <translation>Save Messages</translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message numerus="yes">
        <source>消息 %n 条</source>
        <translation>
            <numerusform>%n message</numerusform>
            <numerusform>%n messages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>，较早的 %n 条已丢弃</source>
        <translation>
            <numerusform>, %n older one dropped</numerusform>
            <numerusform>, %n older ones dropped</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>；心跳 %n 次</source>
        <translation>
            <numerusform>; %n heartbeat</numerusform>
            <numerusform>; %n heartbeats</numerusform>
        </translation>
    </message>
    <message>
        <source>，距上次 %1 秒</source>
        <translation>, the last %1 s ago</translation>
    </message>
    <message>
        <source>（配置为每 %1 秒一次）</source>
        <translation> (configured every %1 s)</translation>
    </message>
    <message>
        <source>在哪个网卡上接收读头的连接</source>
        <translation>The network interface on which the reader&apos;s connections are received</translation>
    </message>
    <message>
        <source>所有网卡</source>
        <translation>All interfaces</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>仅本机</source>
        <translation>This computer only</translation>
    </message>
    <message>
        <source>选择在哪个网卡上接收，再点“开始接收”。</source>
        <translation>Choose the interface to receive on, then click “Start receiving”.</translation>
    </message>
    <message>
        <source>选择读头所接的串口，再点“开始接收”。</source>
        <translation>Choose the serial port the reader is attached to, then click “Start receiving”.</translation>
    </message>
    <message>
        <source>正在 %1 端口 %2 上接收，监听：%3。</source>
        <translation>Receiving %1 on port %2, listening on: %3.</translation>
    </message>
    <message>
        <source>已停止接收。</source>
        <translation>Receiving stopped.</translation>
    </message>
    <message>
        <source>开始接收</source>
        <translation>Start receiving</translation>
    </message>
    <message>
        <source>配置的端口改为 %1：在新端口上重新接收</source>
        <translation>The configuration&apos;s port changed to %1: receiving on the new port</translation>
    </message>
    <message>
        <source>无法保存消息到 %1。</source>
        <translation>Could not save the messages to %1.</translation>
    </message>
    <message>
        <source>配置的输出通道已改：停止接收</source>
        <translation>The configuration&apos;s output channel changed: receiving stopped</translation>
    </message>
    <message>
        <source>配置的结束符或心跳已改：按新的设置重新接收</source>
        <translation>The configuration&apos;s terminator or heartbeat changed: receiving again with the new settings</translation>
    </message>
    <message>
        <source>配置的串口参数已改：重新打开串口</source>
        <translation>The configuration&apos;s serial line settings changed: opening the serial port again</translation>
    </message>
</context>
<context>
    <name>PlaceLabel</name>
    <message>
        <source>例如：3号楼 东门</source>
        <translation>e.g. Building 3, east door</translation>
    </message>
    <message>
        <source>这台读卡器的位置，记入配置记录</source>
        <translation>Where this reader is, kept in the record of saves</translation>
    </message>
    <message>
        <source>位置：</source>
        <translation>Place:</translation>
    </message>
</context>
<context>
    <name>ReaderBatch</name>
    <message>
        <source>未能读取读卡器的配置，没有写入：</source>
        <translation>Could not read the reader&apos;s configuration; nothing was written: </translation>
    </message>
</context>
<context>
    <name>ReaderReview</name>
    <message>
        <source>主界面</source>
        <translation>Main area</translation>
    </message>
    <message>
        <source>常规设置</source>
        <translation>General settings</translation>
    </message>
    <message>
        <source>NFC设置</source>
        <translation>NFC settings</translation>
    </message>
    <message>
        <source>韦根设置</source>
        <translation>Wiegand settings</translation>
    </message>
    <message>
        <source>网络设置</source>
        <translation>Network settings</translation>
    </message>
    <message>
        <source>修改配置密码</source>
        <translation>Change the config password</translation>
    </message>
    <message>
        <source>…等 %1 项</source>
        <translation>… %1 in all</translation>
    </message>
    <message>
        <source>%1：%2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>写入前核对</source>
        <translation>Review before writing</translation>
    </message>
    <message>
        <source>保存将更改读卡器上的以下设置，它们不是从这台读卡器载入的：</source>
        <translation>Saving will change these settings on the reader; they were not loaded from this reader:</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>页面</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>读卡器中的值</source>
        <translation>Reader&apos;s value</translation>
    </message>
    <message>
        <source>新的值</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>写入读卡器</source>
        <translation>Write to reader</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>窗口中的配置尚未保存。连接后要载入读卡器的配置吗？</source>
        <translation>The window&apos;s configuration is not saved. Load the reader&apos;s configuration after connecting?</translation>
    </message>
    <message>
        <source>载入读卡器配置</source>
        <translation>Load reader&apos;s configuration</translation>
    </message>
    <message>
        <source>保留窗口配置</source>
        <translation>Keep window&apos;s configuration</translation>
    </message>
    <message>
        <source>配置密码将更改</source>
        <translation>The configuration password will change</translation>
    </message>
    <message>
        <source>配置密码已更改</source>
        <translation>The configuration password was changed</translation>
    </message>
    <message>
        <source>位置：</source>
        <translation>Place:</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>窗口中的配置上次写入的是另一台读卡器（%1）。连接后要载入这台读卡器的配置吗？</source>
        <translation>The window&apos;s configuration was last written to another reader (%1). Load this reader&apos;s configuration after connecting?</translation>
    </message>
</context>
<context>
    <name>RecordExport</name>
    <message>
        <source>已确认</source>
        <translation>confirmed</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>failed: %1</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>（无法读取）</source>
        <translation>(unreadable)</translation>
    </message>
    <message>
        <source>读卡器配置交接单</source>
        <translation>Reader configuration handover</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>固件</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>读卡器系列</source>
        <translation>Reader series</translation>
    </message>
    <message>
        <source>输出方式</source>
        <translation>Output channel</translation>
    </message>
    <message>
        <source>（默认连接）</source>
        <translation>(default link)</translation>
    </message>
    <message>
        <source>改动</source>
        <translation>Changes</translation>
    </message>
    <message numerus="yes">
        <source>%1 导出，共 %n 条</source>
        <translation>
            <numerusform>Exported %1, %n record</numerusform>
            <numerusform>Exported %1, %n records</numerusform>
        </translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>无法开始 PDF 的第一页</source>
        <translation>The PDF&apos;s first page could not be started</translation>
    </message>
    <message>
        <source>无法写完 PDF</source>
        <translation>The PDF could not be finished</translation>
    </message>
    <message>
        <source>写成的交接单有 %1 页，应有 %2 页</source>
        <translation>The report came out with %1 pages instead of %2</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>检查</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Kind</translation>
    </message>
    <message numerus="yes">
        <source>只读到 %n 条记录中的 %1 条</source>
        <translation>
            <numerusform>Only %1 of %n record was read</numerusform>
            <numerusform>Only %1 of %n records were read</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecordWindow</name>
    <message>
        <source>配置记录</source>
        <translation>Configuration records</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>固件</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>导出 CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>CSV 表格 (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <source>导出交接单</source>
        <translation>Export handover report</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>选中一条记录，看它的改动和配置</source>
        <translation>Select a record to see its changes and configuration</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>to</translation>
    </message>
    <message>
        <source>打开此配置</source>
        <translation>Open this configuration</translation>
    </message>
    <message>
        <source>把选中记录的配置载入窗口，如同打开配置文件</source>
        <translation>Load the selected record&apos;s configuration into the window, as opening a configuration file does</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>导出交接单…</source>
        <translation>Export handover report…</translation>
    </message>
    <message>
        <source>导出选中的记录，未选中时导出显示的全部记录</source>
        <translation>Export the selected records, or every shown record when none is selected</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>配置记录曾损坏，已移至 %1，并新建了记录。</source>
        <translation>The configuration records were damaged; they were moved to %1 and new records started.</translation>
    </message>
    <message>
        <source>无法读取配置记录：%1</source>
        <translation>Cannot read the configuration records: %1</translation>
    </message>
    <message>
        <source>时间：%1
位置：%2
连接：%3
固件：%4
系列：%5
结果：%6
SHA-256：%7

改动：
%8

配置：
%9</source>
        <translation>Time: %1
Place: %2
Link: %3
Firmware: %4
Series: %5
Result: %6
SHA-256: %7

Changes:
%8

Configuration:
%9</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>配置记录（%1）</source>
        <translation>configuration record (%1)</translation>
    </message>
    <message>
        <source>无法导出到 %1。</source>
        <translation>Cannot export to %1.</translation>
    </message>
    <message>
        <source>（未记录）</source>
        <translation>(not recorded)</translation>
    </message>
    <message>
        <source>按时间、位置、连接、固件或结果筛选</source>
        <translation>Filter by time, place, link, firmware or result</translation>
    </message>
    <message numerus="yes">
        <source>选中的 %n 条记录</source>
        <translation>
            <numerusform>the %n selected record</numerusform>
            <numerusform>the %n selected records</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>显示的全部 %n 条记录</source>
        <translation>
            <numerusform>the %n shown record</numerusform>
            <numerusform>all %n shown records</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>交接单将有 %n 行，生成要花些时间。先筛选出要交接的记录吗？</source>
        <translation>
            <numerusform>The report will have %n row and takes a while to make. Filter the records to hand over first?</numerusform>
            <numerusform>The report will have %n rows and takes a while to make. Filter the records to hand over first?</numerusform>
        </translation>
    </message>
    <message>
        <source>先筛选</source>
        <translation>Filter first</translation>
    </message>
    <message>
        <source>全部导出</source>
        <translation>Export all</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>正在导出%1…</source>
        <translation>Exporting %1…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>各读卡器现状</source>
        <translation>Each reader&apos;s state</translation>
    </message>
    <message>
        <source>全部记录</source>
        <translation>All records</translation>
    </message>
    <message>
        <source>各读卡器现状：每个读卡器一行，是它最近一次保存或检查；导出的交接单与显示的一致</source>
        <translation>Each reader&apos;s state: one row a reader, its latest save or check; the exported handover report holds what is shown</translation>
    </message>
</context>
<context>
    <name>RecordWindowEntry</name>
    <message>
        <source>配置记录…</source>
        <translation>Configuration records…</translation>
    </message>
    <message>
        <source>看每次保存写了哪个读卡器、结果如何</source>
        <translation>See which reader each save wrote and how it ended</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>不是普通文件</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>SaveRecords</name>
    <message>
        <source>配置记录已损坏，已移至 %1 并新建</source>
        <translation>The record of saves was damaged; it was moved to %1 and a new one started</translation>
    </message>
    <message>
        <source>配置记录未能保存：%1</source>
        <translation>The record of this save was not kept: %1</translation>
    </message>
</context>
<context>
    <name>SecretPrompt</name>
    <message>
        <source>WIFI密码未随配置保存，请重新输入</source>
        <translation>The Wi-Fi password was not kept with the configuration; type it again</translation>
    </message>
    <message>
        <source>HTTP服务器地址的账号密码未随配置保存，请重新输入</source>
        <translation>The HTTP server address&apos;s credentials were not kept with the configuration; type them again</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>未随配置保存，请重新输入</source>
        <translation>Not kept with the configuration; type it again</translation>
    </message>
    <message>
        <source>地址中的账号密码未随配置保存，请重新输入</source>
        <translation>The address&apos;s credentials were not kept with the configuration; type them again</translation>
    </message>
    <message>
        <source>WIFI密码</source>
        <translation>Wi-Fi password</translation>
    </message>
    <message>
        <source>WIFI密码未随配置保存。仍以空密码生成？</source>
        <translation>The Wi-Fi password was not kept with the configuration. Go on with an empty password?</translation>
    </message>
</context>
<context>
    <name>VerifiedSave</name>
    <message>
        <source>读卡器没有应答保存命令，但读回的配置与发送的一致，已确认保存。</source>
        <translation>The reader did not answer the save, but the configuration read back matches the one sent: saved.</translation>
    </message>
    <message>
        <source>新的配置密码可能已生效，也可能没有：读卡器只接受新旧两个密码中的一个，请重新连接后分别试用。</source>
        <translation>The new configuration password may or may not be in effect: the reader accepts only one of the old and new passwords. Reconnect and try each.</translation>
    </message>
    <message>
        <source>新的配置密码已经生效：读卡器保存了配置，之后只接受新密码。</source>
        <translation>The new configuration password is in effect: the reader stored the configuration and from now on accepts only the new password.</translation>
    </message>
    <message>
        <source>读回的读卡器配置与发送的不一致（%1 %2: %3 → %4）。</source>
        <translation>The configuration read back from the reader differs from the one sent (%1 %2: %3 → %4).</translation>
    </message>
    <message>
        <source>读卡器没有给出可读的配置。</source>
        <translation>The reader gave no configuration that can be read.</translation>
    </message>
</context>
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
        <translation>Card number byte order</translation>
    </message>
    <message>
        <source>普通卡：</source>
        <translation>Cards:</translation>
    </message>
    <message>
        <source>反序</source>
        <translation>Rev.</translation>
    </message>
    <message>
        <source>正序</source>
        <translation>As is</translation>
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
        <translation>Drive high</translation>
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
        <translation>TCP raw</translation>
    </message>
    <message>
        <source>HTTP</source>
        <translation>HTTP raw</translation>
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
        <translation>Ethernet output</translation>
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
        <translation>Light off</translation>
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
        <translation>Password:</translation>
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
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>WIFI选项</source>
        <translation>Wi-Fi</translation>
    </message>
    <message>
        <source>配置密码(必填)：</source>
        <translation>Password*:</translation>
    </message>
    <message>
        <source>密码管理</source>
        <translation>Change…</translation>
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
    <message>
        <source>生成二维码状态</source>
        <translation>Config code</translation>
    </message>
    <message>
        <source>没有足够的内存运行配置脚本</source>
        <translation>Not enough memory to run the configuration script</translation>
    </message>
    <message>
        <source>生成二维码失败</source>
        <translation>Could not make the config code</translation>
    </message>
    <message>
        <source>连接状态</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>保存状态</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>连接设备失败</source>
        <translation>Could not connect to the reader</translation>
    </message>
    <message>
        <source>设备已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>连接设备成功</source>
        <translation>Reader connected</translation>
    </message>
    <message>
        <source>保存失败，请重试</source>
        <translation>Save failed, please try again</translation>
    </message>
    <message>
        <source>保存成功</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>输出提示</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>配置和传输通道将会被改成485/232,下次连接配置工具需要扫码配置换通道</source>
        <translation>The configuration and output channel becomes RS485/232. To connect the config tool next time, scan a config code to change the channel.</translation>
    </message>
    <message>
        <source>配置和传输通道将会被改成TTL,下次连接配置工具需要扫码配置换通道</source>
        <translation>The configuration and output channel becomes TTL. To connect the config tool next time, scan a config code to change the channel.</translation>
    </message>
    <message>
        <source>是否将ZB52输出电压更改为3.3V？此操作需要确认设备之间电压兼容性</source>
        <translation>Change the ZB52 output voltage to 3.3V? Make sure the connected devices work at this voltage.</translation>
    </message>
    <message>
        <source>是否将ZB52输出电压更改为4.3V？此操作需要确认设备之间电压兼容性</source>
        <translation>Change the ZB52 output voltage to 4.3V? Make sure the connected devices work at this voltage.</translation>
    </message>
    <message>
        <source>正在连接…</source>
        <translation>Connecting…</translation>
    </message>
    <message>
        <source>连接已断开</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>正在保存…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>无法确认读卡器是否已保存，请重新连接后核对</source>
        <translation>Could not confirm that the reader saved the configuration; reconnect and check</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>未保存：尚未连接这台读卡器</source>
        <translation>Not saved: this reader is not connected</translation>
    </message>
    <message>
        <source>请先点击“连接设备”读取它的配置，再保存。</source>
        <translation>Click Connect first to read its configuration, then save.</translation>
    </message>
</context>
<context>
    <name>config</name>
    <message>
        <source>间隔时间(毫秒)</source>
        <translation>Interval (ms)</translation>
    </message>
    <message>
        <source>设备号</source>
        <translation>Device ID</translation>
    </message>
    <message>
        <source>蜂鸣延迟</source>
        <translation>Beep time</translation>
    </message>
    <message>
        <source>闪灯延迟</source>
        <translation>LED time</translation>
    </message>
    <message>
        <source>TCP端口号</source>
        <translation>TCP port</translation>
    </message>
    <message>
        <source>TCP接收超时（秒）</source>
        <translation>TCP timeout (s)</translation>
    </message>
    <message>
        <source>心跳包时间</source>
        <translation>Heartbeat interval</translation>
    </message>
    <message>
        <source>HTTP接收超时（秒）</source>
        <translation>HTTP timeout (s)</translation>
    </message>
    <message>
        <source>输入的新密码不一致</source>
        <translation>The new passwords do not match</translation>
    </message>
    <message>
        <source>新密码的长度需要为16个字符</source>
        <translation>The new password must be 16 characters</translation>
    </message>
    <message>
        <source>新密码只能包含英文字母、数字、空格和英文符号</source>
        <translation>The new password may only contain ASCII letters, digits, spaces and symbols</translation>
    </message>
    <message>
        <source>找不到配置脚本 update_config.lua</source>
        <translation>Configuration script update_config.lua not found</translation>
    </message>
    <message>
        <source>配置脚本 update_config.lua 无法加载</source>
        <translation>Configuration script update_config.lua cannot be loaded</translation>
    </message>
    <message>
        <source>配置脚本 update_config.lua 无法读取设备的配置</source>
        <translation>Configuration script update_config.lua cannot read the reader&apos;s configuration</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>配置密码的长度需要为16个字符</source>
        <translation>The configuration password must be 16 characters</translation>
    </message>
    <message>
        <source>网络 </source>
        <translation>network </translation>
    </message>
    <message>
        <source>输出方式：</source>
        <translation>Output: </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>读头系列：</source>
        <translation>Reader series: </translation>
    </message>
    <message>
        <source>工作模式：</source>
        <translation>Work mode: </translation>
    </message>
    <message>
        <source>包含新的配置密码</source>
        <translation>Sets a new configuration password</translation>
    </message>
    <message>
        <source>%1%2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>不能包含空格</source>
        <translation>must not contain blanks</translation>
    </message>
    <message>
        <source>必须是0到2147483647之间的数字</source>
        <translation>must be a number from 0 to 2147483647</translation>
    </message>
    <message>
        <source>必须是1到65535之间的数字</source>
        <translation>must be a number from 1 to 65535</translation>
    </message>
    <message>
        <source>必须是IPv4地址，例如192.168.1.10</source>
        <translation>must be an IPv4 address, for example 192.168.1.10</translation>
    </message>
    <message>
        <source>必须是有效的子网掩码，例如255.255.255.0</source>
        <translation>must be a valid netmask, for example 255.255.255.0</translation>
    </message>
    <message>
        <source>不能包含控制字符</source>
        <translation>must not contain control characters</translation>
    </message>
    <message>
        <source>不能包含英文逗号(,)</source>
        <translation>cannot contain a comma (,)</translation>
    </message>
    <message>
        <source>不能超过%1个字节（一个汉字占3个字节）</source>
        <translation>must not be longer than %1 bytes (a Chinese character takes 3)</translation>
    </message>
    <message>
        <source>不能包含英文单引号紧跟英文逗号(&apos;,)</source>
        <translation>must not contain a quote followed by a comma (&apos;,)</translation>
    </message>
    <message>
        <source>在hex格式下必须是成对的十六进制数字</source>
        <translation>must be pairs of hexadecimal digits in hex mode</translation>
    </message>
    <message>
        <source>扫码前缀</source>
        <translation>Scan prefix</translation>
    </message>
    <message>
        <source>扫码后缀</source>
        <translation>Scan suffix</translation>
    </message>
    <message>
        <source>NFC前缀</source>
        <translation>NFC prefix</translation>
    </message>
    <message>
        <source>NFC后缀</source>
        <translation>NFC suffix</translation>
    </message>
    <message>
        <source>连入WIFI名</source>
        <translation>Wi-Fi network name</translation>
    </message>
    <message>
        <source>WIFI密码</source>
        <translation>Wi-Fi password</translation>
    </message>
    <message>
        <source>TCP服务器地址</source>
        <translation>TCP server address</translation>
    </message>
    <message>
        <source>心跳包内容</source>
        <translation>Heartbeat payload</translation>
    </message>
    <message>
        <source>HTTP服务器地址</source>
        <translation>HTTP server address</translation>
    </message>
    <message>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>子网掩码</source>
        <translation>Netmask</translation>
    </message>
    <message>
        <source>网关</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>其中没有本工具认识的配置项</source>
        <translation>it holds no setting this tool knows</translation>
    </message>
    <message>
        <source>无法读取文件 %1：%2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>文件 %1 大于 64 KiB，不是配置文件</source>
        <translation>The file %1 is larger than 64 KiB and is no configuration file</translation>
    </message>
    <message>
        <source>文件 %1 不是 UTF-8 文本</source>
        <translation>The file %1 is not UTF-8 text</translation>
    </message>
    <message>
        <source>没有足够的内存运行配置脚本</source>
        <translation>Not enough memory to run the configuration script</translation>
    </message>
    <message>
        <source>无法打开文件 %1：%2</source>
        <translation>Cannot open the file %1: %2</translation>
    </message>
    <message>
        <source>无法打开文件 %1：文件中 %2 无法载入</source>
        <translation>Cannot open the file %1: the window cannot show %2 as it is, and saving would change it</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>不能包含配置文本的开头(___TRVO_CONFIG_V)</source>
        <translation>must not contain the start of a configuration text (___TRVO_CONFIG_V)</translation>
    </message>
    <message>
        <source>配置密码只能包含 Latin-1 字符（西文字母、数字和符号）</source>
        <translation>The configuration password may contain Latin-1 characters only (Western letters, digits and symbols)</translation>
    </message>
    <message>
        <source>%1 不是可设置的配置项</source>
        <translation>%1 is no key a value can be set for</translation>
    </message>
    <message>
        <source>%1: 值不能包含控制字符或英文单引号紧跟英文逗号(&apos;,)</source>
        <translation>%1: a value cannot hold control characters or a quote followed by a comma (&apos;,)</translation>
    </message>
    <message>
        <source>%1 不是本工具能载入的值</source>
        <translation>%1 is no value this tool can load</translation>
    </message>
</context>
<context>
    <name>device</name>
    <message>
        <source>设备设置无效：应为 tcp:主机:端口 或 serial:路径[:波特率[:格式]]。</source>
        <translation>Invalid reader setting: use tcp:HOST:PORT or serial:PATH[:BAUD[:FORMAT]].</translation>
    </message>
    <message>
        <source>找不到该串口：请检查读卡器是否已插好，或重新选择设备。</source>
        <translation>Serial port not found: check that the reader is plugged in, or choose the reader again.</translation>
    </message>
    <message>
        <source>所选路径不是串口。</source>
        <translation>The chosen path is not a serial port.</translation>
    </message>
    <message>
        <source>没有打开该串口的权限：请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），重新登录后再试。</source>
        <translation>No permission to open the serial port: add your user to the &quot;dialout&quot; group (sudo usermod -aG dialout $USER), log in again and retry.</translation>
    </message>
    <message>
        <source>该串口正被另一个程序占用：请先关闭那个程序。</source>
        <translation>The serial port is in use by another program: close that program first.</translation>
    </message>
    <message>
        <source>无法到达该主机：请检查主机名和网络。</source>
        <translation>The host cannot be reached: check the host name and the network.</translation>
    </message>
    <message>
        <source>连接被拒绝：该主机的这个端口上没有读卡器在监听。</source>
        <translation>Connection refused: no reader listens on this port of the host.</translation>
    </message>
    <message>
        <source>读卡器在规定时间内没有应答。</source>
        <translation>The reader did not answer in time.</translation>
    </message>
    <message>
        <source>读卡器的应答无法识别。</source>
        <translation>The reader&apos;s answer could not be read.</translation>
    </message>
    <message>
        <source>连接在通信过程中断开。</source>
        <translation>The connection dropped during the exchange.</translation>
    </message>
    <message>
        <source>读卡器拒绝了该命令。</source>
        <translation>The reader rejected the command.</translation>
    </message>
    <message>
        <source>设备库拒绝了该请求。</source>
        <translation>The device library rejected the request.</translation>
    </message>
    <message>
        <source>系统错误。</source>
        <translation>System error.</translation>
    </message>
    <message>
        <source>读卡器拒绝了该配置：配置密码错误，或读卡器不接受该配置。</source>
        <translation>The reader refused the configuration: wrong configuration password, or the reader does not accept this configuration.</translation>
    </message>
    <message>
        <source>请填写读卡器：主机:端口，例如 192.168.1.10:47811 或 192.168.1.10-60:47811。</source>
        <translation>Enter readers as host:port, for example 192.168.1.10:47811 or 192.168.1.10-60:47811.</translation>
    </message>
    <message>
        <source>“%1”缺少端口或端口无效：端口应为 1 到 65535 之间的数。</source>
        <translation>“%1” lacks a port or has an invalid one: a port is a number from 1 to 65535.</translation>
    </message>
    <message>
        <source>“%1”不是读卡器地址：应为 主机:端口、192.168.1.10-60:端口、tcp:主机:端口 或 serial:路径。</source>
        <translation>“%1” is no reader address: enter host:port, 192.168.1.10-60:port, tcp:host:port or serial:path.</translation>
    </message>
    <message>
        <source>“%1”的 IPv4 地址无效：应为四段 0 到 255 之间的十进制数。</source>
        <translation>“%1” has an invalid IPv4 address: it takes four decimal parts from 0 to 255.</translation>
    </message>
    <message>
        <source>“%1”的范围颠倒了：起始地址应不大于结束地址。</source>
        <translation>“%1” is a reversed range: its start must not be above its end.</translation>
    </message>
    <message>
        <source>到“%1”为止已超过 %2 个读卡器：请分几次添加。</source>
        <translation>With “%1” there are more than %2 readers: add them in several steps.</translation>
    </message>
</context>
<context>
    <name>fleet</name>
    <message>
        <source>“%1”与“%2”是同一个读卡器：每个读卡器只能指定一次。</source>
        <translation>“%1” and “%2” are one reader: name each reader once.</translation>
    </message>
    <message>
        <source>“%1”不是可查找的范围：应为 主机-末段:端口、A.B.C.0/24[:端口] 或 主机:端口-端口。</source>
        <translation>“%1” is no range to search: use HOST-LAST:PORT, A.B.C.0/24[:PORT] or HOST:PORT-PORT.</translation>
    </message>
    <message>
        <source>“%1”含 %2 个地址：每次最多查找 %3 个。</source>
        <translation>“%1” holds %2 addresses: at most %3 are searched at a time.</translation>
    </message>
    <message>
        <source>表中每行只能给出一个读头</source>
        <translation>each row of the sheet names one reader</translation>
    </message>
    <message>
        <source>第 %1 行（%2）：%3</source>
        <translation>line %1 (%2): %3</translation>
    </message>
    <message>
        <source>--set %1：密码和地址中的凭据不能写在参数中，其他用户可以读到；请写在配置文件或读头表中</source>
        <translation>--set %1: passwords and an address&apos;s credentials are not taken from the arguments, which other users can read; put them in the configuration file or the sheet</translation>
    </message>
    <message>
        <source>表中的读头超过 %1 个</source>
        <translation>the sheet has more than %1 readers</translation>
    </message>
    <message>
        <source>第 %1 行：引号没有结束</source>
        <translation>line %1: a quote is never closed</translation>
    </message>
    <message>
        <source>第 %1 行：引号之后、逗号之前还有文字</source>
        <translation>line %1: text after a closing quote, before the comma</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 大于 1 MiB，不是读头表</source>
        <translation>%1 is larger than 1 MiB: no site sheet</translation>
    </message>
    <message>
        <source>%1 不是 UTF-8 文本</source>
        <translation>%1 is no UTF-8 text</translation>
    </message>
    <message>
        <source>第 1 行：表头需要 link 和 place 两列，各一次</source>
        <translation>line 1: the header needs the columns link and place, once each</translation>
    </message>
    <message>
        <source>第 1 行：%1 不是可设置的配置项</source>
        <translation>line 1: %1 is no key a value can be set for</translation>
    </message>
    <message>
        <source>第 1 行：%1 列出现了不止一次</source>
        <translation>line 1: the column %1 is there more than once</translation>
    </message>
    <message>
        <source>%1 没有表头</source>
        <translation>%1 has no header</translation>
    </message>
    <message>
        <source>第 %1 行有 %2 列，表头有 %3 列</source>
        <translation>line %1 has %2 columns, the header %3</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>%1 只有表头，没有读头</source>
        <translation>%1 has a header but no reader rows</translation>
    </message>
    <message>
        <source>--check、--read 和 --find 不能同时使用</source>
        <translation>--check, --read and --find exclude each other</translation>
    </message>
    <message>
        <source>--%1 不能与 --check、--read 或 --find 同用</source>
        <translation>--%1 goes with none of --check, --read and --find</translation>
    </message>
    <message>
        <source>--check 需要正好一个 FILE</source>
        <translation>--check needs exactly one FILE</translation>
    </message>
    <message>
        <source>只有 --check 读取 FILE</source>
        <translation>only --check reads a FILE</translation>
    </message>
    <message>
        <source>这里 --save-as 只能与 --read 同用</source>
        <translation>--save-as goes with --read here</translation>
    </message>
    <message>
        <source>--read 需要 --save-as DIR（只有一个读头时可为 FILE）或 --sheet SITE.csv</source>
        <translation>--read needs --save-as DIR (or FILE for one reader), or --sheet SITE.csv</translation>
    </message>
    <message>
        <source>--find 不接受 --device、--sheet 或 --set</source>
        <translation>--find takes no --device, --sheet or --set</translation>
    </message>
    <message>
        <source>--set 只能与 --write 或 --check 同用</source>
        <translation>--set goes with --write and --check</translation>
    </message>
    <message>
        <source>请用 --device 指定读头（--check 也可用 --sheet）</source>
        <translation>name the readers by --device (or, with --check, by --sheet)</translation>
    </message>
    <message>
        <source>两个读头会写入同名的文件</source>
        <translation>two readers would share a file name</translation>
    </message>
    <message>
        <source>%1 不是文件夹</source>
        <translation>%1 is no folder</translation>
    </message>
</context>
<context>
    <name>output_test::OutputLog</name>
    <message>
        <source>缺少 %1</source>
        <translation>missing %1</translation>
    </message>
    <message>
        <source>心跳 %1</source>
        <translation>heartbeat %1</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>来源</source>
        <translation>From</translation>
    </message>
    <message>
        <source>前缀</source>
        <translation>Prefix</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>后缀</source>
        <translation>Suffix</translation>
    </message>
    <message>
        <source>结束符</source>
        <translation>End</translation>
    </message>
    <message>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>文本：%1</source>
        <translation>Text: %1</translation>
    </message>
    <message>
        <source>十六进制：%1</source>
        <translation>Hex: %1</translation>
    </message>
</context>
<context>
    <name>output_test::OutputReceiver</name>
    <message>
        <source>另一个程序已在使用端口 %1：关闭它，或换一个端口（读头的配置一起改）。</source>
        <translation>Another program is using port %1: close it, or choose another port (and change the reader&apos;s configuration to match).</translation>
    </message>
    <message>
        <source>1024 以下的端口只有管理员能打开：换一个 1024 以上的端口（读头的配置一起改）。</source>
        <translation>Only an administrator may open a port below 1024: choose a port above 1024 (and change the reader&apos;s configuration to match).</translation>
    </message>
    <message>
        <source>换一个端口再试。</source>
        <translation>Try another port.</translation>
    </message>
    <message>
        <source>串口被其他程序占用，或当前用户无权打开：关闭占用它的程序；无权时把用户加入 dialout 组（sudo usermod -aG dialout $USER）并重新登录。</source>
        <translation>Another program holds the serial port, or this user may not open it: close that program; without the right, add the user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</translation>
    </message>
    <message>
        <source>检查读头的连线，或选另一个串口。</source>
        <translation>Check the reader&apos;s cable, or choose another serial port.</translation>
    </message>
    <message>
        <source>检查串口的设置，或选另一个串口。</source>
        <translation>Check the serial port&apos;s settings, or choose another one.</translation>
    </message>
    <message>
        <source>串口出错：%1</source>
        <translation>Serial port error: %1</translation>
    </message>
    <message>
        <source>正文另有 %1 字节未保留</source>
        <translation>%1 more bytes of the body were not kept</translation>
    </message>
    <message>
        <source>%1 不读取回复（%2 字节未发出），暂停回复它</source>
        <translation>%1 does not read its replies (%2 bytes unsent): replies to it paused</translation>
    </message>
    <message>
        <source>%1 已读取回复，恢复回复它</source>
        <translation>%1 has read its replies: replies to it resumed</translation>
    </message>
    <message>
        <source>%1 已 %2 秒未发送任何内容（心跳也没有），已断开</source>
        <translation>%1 sent nothing (not even a heartbeat) for %2 seconds: disconnected</translation>
    </message>
    <message>
        <source>超时</source>
        <translation>timed out</translation>
    </message>
    <message>
        <source>对方断开</source>
        <translation>the peer disconnected</translation>
    </message>
    <message>
        <source>接收已停止</source>
        <translation>receiving stopped</translation>
    </message>
    <message>
        <source>读取出错或超过期限</source>
        <translation>read error or deadline passed</translation>
    </message>
    <message>
        <source>出错</source>
        <translation>error</translation>
    </message>
    <message>
        <source>来自 %1 的 HTTP 请求未完成就被中断：%2</source>
        <translation>An HTTP request from %1 was cut off before it was complete: %2</translation>
    </message>
    <message>
        <source>%1 的 HTTP 请求 %2 秒内未完成，已断开</source>
        <translation>The HTTP request of %1 was not complete within %2 seconds: disconnected</translation>
    </message>
    <message numerus="yes">
        <source>已有 %1 个连接：断开最久未发送的 %2（%n 秒未发送），为新连接腾出位置</source>
        <translation>
            <numerusform>%1 connections already: disconnected %2, quiet the longest (%n second), to make room for a new one</numerusform>
            <numerusform>%1 connections already: disconnected %2, quiet the longest (%n seconds), to make room for a new one</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>拒绝了 %n 个 HTTP 连接（最近一个来自 %1）：每个地址最多 %2 个连接，共最多 %3 个</source>
        <translation>
            <numerusform>Refused %n HTTP connection (the latest from %1): %2 connections at most an address, %3 in all</numerusform>
            <numerusform>Refused %n HTTP connections (the latest from %1): %2 connections at most an address, %3 in all</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>output_test::PeerTable</name>
    <message>
        <source>读头地址</source>
        <translation>Reader address</translation>
    </message>
    <message>
        <source>连接时间</source>
        <translation>Connected since</translation>
    </message>
    <message>
        <source>消息数</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>最后消息</source>
        <translation>Last message</translation>
    </message>
    <message>
        <source>最后心跳</source>
        <translation>Last heartbeat</translation>
    </message>
</context>
<context>
    <name>qr</name>
    <message>
        <source>纸张太小，无法以可扫描的大小打印配置码</source>
        <translation>The paper is too small to print the config code at a scannable size</translation>
    </message>
    <message>
        <source>无法打开打印输出</source>
        <translation>Cannot open the printer output</translation>
    </message>
    <message>
        <source>请选择 .png、.svg 或 .pdf 文件</source>
        <translation>Choose a .png, .svg or .pdf file</translation>
    </message>
    <message>
        <source>配置码过大，显示区域容纳不下</source>
        <translation>The config code is too large for its display area</translation>
    </message>
    <message>
        <source>生成日期：</source>
        <translation>Made on </translation>
    </message>
    <message>
        <source>配置码</source>
        <translation>Config code</translation>
    </message>
    <message>
        <source>配置内容过长，超出配置码的容量，无法生成配置码</source>
        <translation>The configuration is too long for a config code</translation>
    </message>
    <message>
        <source>生成二维码失败</source>
        <translation>Could not make the config code</translation>
    </message>
    <message>
        <source>无法生成配置码图片</source>
        <translation>Cannot make the picture of the config code</translation>
    </message>
</context>
<context>
    <name>records</name>
    <message>
        <source>配置记录由更新版本的本程序写入（记录版本 %1，本程序最多读取 %2）</source>
        <translation>the record store was written by a newer version of this program (store version %1; this one reads up to %2)</translation>
    </message>
    <message>
        <source>配置记录中的表不是本程序建立的</source>
        <translation>the table of records was not made by this program</translation>
    </message>
    <message>
        <source>配置记录 %1 是只读的</source>
        <translation>the record store %1 is read-only</translation>
    </message>
    <message>
        <source>没有第 %1 条配置记录</source>
        <translation>no record %1</translation>
    </message>
</context>
</TS>
