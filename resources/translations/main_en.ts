<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CArdwellDlg</name>
    <message>
        <location filename="../../src/app/ardwelldlg.cpp" line="+156"/>
        <source>连接设备</source>
        <translation>Connect</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>关机</source>
        <translation>Power off</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>暂停播音</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>系统设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>用户管理</source>
        <translation>Users</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>锁定</source>
        <translation>Lock</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+22"/>
        <location line="+388"/>
        <source>未登陆</source>
        <translation>Not logged in</translation>
    </message>
    <message>
        <location line="-382"/>
        <source>重新登陆(&amp;U)</source>
        <translation>Log in as another &amp;user</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>退出(&amp;E)</source>
        <translation>&amp;Exit</translation>
    </message>
</context>
<context>
    <name>CMusicListDlg</name>
    <message>
        <location filename="../../src/ui/schedule/musiclistdlg.cpp" line="+223"/>
        <source>(双击直接播放)</source>
        <translation>(double-click to play)</translation>
    </message>
</context>
<context>
    <name>CTTSListDlg</name>
    <message>
        <location filename="../../src/ui/schedule/ttslistdlg.cpp" line="+194"/>
        <source>即时播放</source>
        <translation>Speak now</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>请输入要播放的文字内容：</source>
        <translation>Enter the text to be spoken:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>文稿导入...</source>
        <translation>Import script...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>立即播放</source>
        <translation>Speak now</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>今日播音任务列表：</source>
        <translation>Today&apos;s speech list:</translation>
    </message>
</context>
<context>
    <name>CTTSStockSelDlg</name>
    <message>
        <location filename="../../src/ui/schedule/ttsstockseldlg.cpp" line="+41"/>
        <source>选择播音文稿</source>
        <translation>Choose a Script</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>播音文稿列表：</source>
        <translation>Scripts:</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CUnlockDlg</name>
    <message>
        <location filename="../../src/ui/users/unlockdlg.cpp" line="+30"/>
        <source>程序已锁定</source>
        <translation>Station Locked</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>程序已锁定，点击下面的按钮解锁！</source>
        <translation>The station is locked. Click the button below to unlock it!</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>解锁</source>
        <translation>Unlock</translation>
    </message>
</context>
<context>
    <name>CUserLoginDlg</name>
    <message>
        <location filename="../../src/ui/users/userlogindlg.cpp" line="+40"/>
        <source>用户登录</source>
        <translation>User Login</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>登录名：</source>
        <translation>Login name:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>登录</source>
        <translation>Log in</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>请输入登录名和密码。</source>
        <translation>Please enter your login name and password.</translation>
    </message>
</context>
</TS>
