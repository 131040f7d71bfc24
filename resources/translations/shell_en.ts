<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>发射机</source>
        <translation>Transmitter</translation>
    </message>
    <message>
        <source>发射机功能</source>
        <translation>Transmitter capabilities</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>分区</source>
        <translation>Zones</translation>
    </message>
</context>
<context>
    <name>CDeviceSettingDlg</name>
    <message>
        <source>FM设置</source>
        <translation>FM settings</translation>
    </message>
    <message>
        <source>发射频率: </source>
        <translation>Frequency: </translation>
    </message>
    <message>
        <source>发射功率: </source>
        <translation>Power: </translation>
    </message>
    <message>
        <source>音量: </source>
        <translation>Volume: </translation>
    </message>
    <message>
        <source>立体声: </source>
        <translation>Stereo: </translation>
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
        <source>预加重: </source>
        <translation>Pre-emphasis: </translation>
    </message>
    <message>
        <source>蓝牙: </source>
        <translation>Bluetooth: </translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>分组设置: </source>
        <translation>Zones: </translation>
    </message>
    <message>
        <source>组1</source>
        <translation>Group 1</translation>
    </message>
    <message>
        <source>组2</source>
        <translation>Group 2</translation>
    </message>
    <message>
        <source>组3</source>
        <translation>Group 3</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
</context>
<context>
    <name>CSettingDlg</name>
    <message>
        <source>系统设置</source>
        <translation>System Settings</translation>
    </message>
    <message>
        <source>企业名称：</source>
        <translation>Enterprise name:</translation>
    </message>
    <message>
        <source>作息时间设置：</source>
        <translation>Working hours:</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>星期天</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>播音背景音乐：</source>
        <translation>Music under speech:</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>播音延迟</source>
        <translation>Speak delay</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>无任务播放时，</source>
        <translation>With nothing to play, switch the transmitter off after</translation>
    </message>
    <message>
        <source>分钟后关闭设备.</source>
        <translation>minutes.</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CSystemTray</name>
    <message>
        <source>连接设备(&amp;L)</source>
        <translation>Connect &amp;Transmitter</translation>
    </message>
    <message>
        <source>重新登陆(&amp;R)</source>
        <translation>&amp;Log In Again</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>退出程序(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
</TS>
