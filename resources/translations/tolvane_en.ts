<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CAboutDlg</name>
    <message>
        <location filename="../../src/ui/shell/aboutdlg.ui" line="+12"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>发射机</source>
        <translation>Transmitter</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>发射机功能</source>
        <translation>Transmitter capabilities</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../../src/ui/shell/aboutdlg.cpp" line="+23"/>
        <source>分区</source>
        <translation>Zones</translation>
    </message>
</context>
<context>
    <name>CArdwellDlg</name>
    <message>
        <location filename="../../src/app/ardwelldlg.cpp" line="+128"/>
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
        <location line="+277"/>
        <source>未登陆</source>
        <translation>Not logged in</translation>
    </message>
    <message>
        <location line="-271"/>
        <source>重新登陆(&amp;U)</source>
        <translation>Log in as another &amp;user</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>退出(&amp;E)</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>语言</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>CBkMusicEditDlg</name>
    <message>
        <location filename="../../src/ui/music/bkmusiceditdlg.ui" line="+6"/>
        <source>背景音乐编辑</source>
        <translation>Background Music</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>曲目文件：</source>
        <translation>Music file:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>曲目文件</source>
        <translation>Music file</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+1"/>
        <source>浏览曲目文件</source>
        <translation>Browse for music files</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>从歌库选择...</source>
        <translation>From the library...</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>播放音量：</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>播放音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>播放次数：</source>
        <translation>Play count:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>播放次数</source>
        <translation>Play count</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>次</source>
        <translation>times</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/ui/music/bkmusiceditdlg.cpp" line="+38"/>
        <source>次数不限</source>
        <translation>Unlimited</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CDeviceSettingDlg</name>
    <message>
        <location filename="../../src/ui/transmitter/devicesettingdlg.ui" line="+20"/>
        <source>FM设置</source>
        <translation>FM settings</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>发射频率: </source>
        <translation>Frequency: </translation>
    </message>
    <message>
        <location line="+30"/>
        <source>发射功率: </source>
        <translation>Power: </translation>
    </message>
    <message>
        <location line="+27"/>
        <source>音量: </source>
        <translation>Volume: </translation>
    </message>
    <message>
        <location line="+24"/>
        <source>立体声: </source>
        <translation>Stereo: </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>预加重: </source>
        <translation>Pre-emphasis: </translation>
    </message>
    <message>
        <location line="+41"/>
        <source>蓝牙: </source>
        <translation>Bluetooth: </translation>
    </message>
    <message>
        <location line="+11"/>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>分组设置: </source>
        <translation>Zones: </translation>
    </message>
    <message>
        <location line="+95"/>
        <source>组1</source>
        <translation>Group 1</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>组2</source>
        <translation>Group 2</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>组3</source>
        <translation>Group 3</translation>
    </message>
    <message>
        <location filename="../../src/ui/transmitter/devicesettingdlg.cpp" line="+57"/>
        <source>分区%1</source>
        <translation>Zone %1</translation>
    </message>
    <message>
        <location filename="../../src/ui/transmitter/devicesettingdlg.ui" line="+80"/>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
</context>
<context>
    <name>CMusicEditDlg</name>
    <message>
        <location filename="../../src/ui/music/musiceditdlg.ui" line="+6"/>
        <source>插播曲目</source>
        <translation>Insert-Play Music</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>曲目文件：</source>
        <translation>Music file:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>曲目文件</source>
        <translation>Music file</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+1"/>
        <source>浏览曲目文件</source>
        <translation>Browse for music files</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>从歌库选择...</source>
        <translation>From the library...</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>播放音量：</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>播放音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>在时间范围内循环播放：</source>
        <translation>Repeat within a time range:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>播放时间：</source>
        <translation>Play time:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>开始时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>结束时间</source>
        <translation>End time</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>循环间隔：</source>
        <translation>Repeat every:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>循环间隔</source>
        <translation>Repeat interval in minutes</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>分钟</source>
        <translation>minutes</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>在以下指定时间点播放：</source>
        <translation>Play at these times:</translation>
    </message>
    <message>
        <location line="+12"/>
        <location filename="../../src/ui/music/musiceditdlg.cpp" line="+109"/>
        <source>计算音乐时长</source>
        <translation>Compute length</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6"/>
        <location filename="../../src/ui/music/musiceditdlg.cpp" line="-3"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/ui/music/musiceditdlg.cpp" line="-1"/>
        <source>正在计算音乐时长...</source>
        <translation>Measuring the music files...</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>第%1个时间点</source>
        <translation>Time point %1</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CMusicFolderManageDlg</name>
    <message>
        <location filename="../../src/ui/music/musicfoldermanagedlg.ui" line="+14"/>
        <source>分类管理</source>
        <translation>Manage Categories</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>分类列表</source>
        <translation>Category list</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>编辑</source>
        <translation>Rename</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CMusicFolderNameDlg</name>
    <message>
        <location filename="../../src/ui/music/musicfoldernamedlg.ui" line="+14"/>
        <source>分类名称</source>
        <translation>Category Name</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>分类名称：</source>
        <translation>Category name:</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CMusicListDlg</name>
    <message>
        <location filename="../../src/ui/schedule/musiclistdlg.cpp" line="+143"/>
        <source>(双击直接播放)</source>
        <translation>(double-click to play)</translation>
    </message>
</context>
<context>
    <name>CMusicSelDlg</name>
    <message>
        <location filename="../../src/ui/music/musicseldlg.ui" line="+14"/>
        <source>曲目选择</source>
        <translation>Choose Music</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>曲目分类：</source>
        <translation>Category:</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>曲目分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>曲目列表 (按Ctrl键多选)：</source>
        <translation>Music files (Ctrl+click to choose several):</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>曲目列表</source>
        <translation>Music files</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CMusicStockDlg</name>
    <message>
        <location filename="../../src/ui/music/musicstockdlg.ui" line="+14"/>
        <source>歌库</source>
        <translation>Music Library</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>曲目分类：</source>
        <translation>Category:</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>曲目分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <location line="+7"/>
        <location line="+3"/>
        <source>分类管理</source>
        <translation>Categories</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>曲目列表</source>
        <translation>Music files</translation>
    </message>
    <message>
        <location line="+25"/>
        <location line="+3"/>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+3"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+3"/>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>添加文件…</source>
        <translation>Add Files…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>添加文件夹…</source>
        <translation>Add Folder…</translation>
    </message>
    <message>
        <location filename="../../src/ui/music/musicstockdlg.cpp" line="+163"/>
        <source>增加曲目</source>
        <translation>Add Music Files</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>添加文件夹</source>
        <translation>Add a Folder</translation>
    </message>
</context>
<context>
    <name>CMusicTaskDlg</name>
    <message>
        <location filename="../../src/ui/music/musictaskdlg.ui" line="+34"/>
        <source>播放日期：</source>
        <translation>Date:</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>日期不限</source>
        <translation>Any date</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>任务名称：</source>
        <translation>Task name:</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>搜索曲目任务</source>
        <translation>Search music tasks</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>曲目任务列表：</source>
        <translation>Music tasks:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>曲目任务列表</source>
        <translation>Music tasks</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>增加曲目任务</source>
        <translation>Add music task</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>编辑曲目任务</source>
        <translation>Edit music task</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>删除曲目任务</source>
        <translation>Delete music task</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>禁用</source>
        <translation>Disable</translation>
    </message>
</context>
<context>
    <name>CMusicTaskEditDlg</name>
    <message>
        <location filename="../../src/ui/music/musictaskeditdlg.ui" line="+6"/>
        <source>曲目任务</source>
        <translation>Music Task</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>任务名称：</source>
        <translation>Task name:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>任务名称</source>
        <translation>Task name</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>播放日期：</source>
        <translation>Play dates:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>开始日期</source>
        <translation>Start date</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>结束日期</source>
        <translation>End date</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>播放时间：</source>
        <translation>Play time:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>开始时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>结束时间</source>
        <translation>End time</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>播放音量：</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>播放音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>播放顺序：</source>
        <translation>Play order:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>播放顺序</source>
        <translation>Play order</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>顺序</source>
        <translation>In order</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>随机</source>
        <translation>Random</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>曲目列表：</source>
        <translation>Music files:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>曲目列表</source>
        <translation>Music files</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>添加背景音乐</source>
        <translation>Add background music</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>添加插播曲目</source>
        <translation>Add insert-play music</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>今日播放：</source>
        <translation>Today&apos;s plays:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>今日播放</source>
        <translation>Today&apos;s plays</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/ui/music/musictaskeditdlg.cpp" line="+154"/>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <location line="-36"/>
        <source>组%1</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>分区%1</source>
        <translation>Zone %1</translation>
    </message>
    <message>
        <location line="+303"/>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CPlayerWnd</name>
    <message>
        <location filename="../../src/ui/media/playerwnd.cpp" line="+157"/>
        <location line="+108"/>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <location line="-106"/>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>播放进度</source>
        <translation>Position</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <location line="+93"/>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
</context>
<context>
    <name>CSettingDlg</name>
    <message>
        <location filename="../../src/ui/shell/settingdlg.ui" line="+6"/>
        <source>系统设置</source>
        <translation>System Settings</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>企业名称：</source>
        <translation>Enterprise name:</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>作息时间设置：</source>
        <translation>Working hours:</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>星期天</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>播音背景音乐：</source>
        <translation>Music under speech:</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>播音延迟</source>
        <translation>Speak delay</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>无任务播放时，</source>
        <translation>With nothing to play, switch the transmitter off after</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>分钟后关闭设备.</source>
        <translation>minutes.</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>开机自动启动</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/ui/shell/settingdlg.cpp" line="+42"/>
        <source>开始</source>
        <translation>start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>结束</source>
        <translation>end</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>开机自动启动的设置无法保存。</source>
        <translation>The start-at-login setting could not be saved.</translation>
    </message>
</context>
<context>
    <name>CSpeakBkMusicEditDlg</name>
    <message>
        <location filename="../../src/ui/speech/speakbkmusiceditdlg.ui" line="+14"/>
        <source>背景音乐</source>
        <translation>Background Music</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>音乐文件：</source>
        <translation>Music file:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>音乐文件</source>
        <translation>Music file</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+3"/>
        <source>浏览音乐文件</source>
        <translation>Browse for music files</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>从歌库选择...</source>
        <translation>From the library...</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>播放音量：</source>
        <translation>Volume:</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>播放音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/ui/speech/speakbkmusiceditdlg.cpp" line="+100"/>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CSystemTray</name>
    <message>
        <location filename="../../src/ui/shell/systemtray.cpp" line="+22"/>
        <source>连接设备(&amp;L)</source>
        <translation>Connect &amp;Transmitter</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>重新登陆(&amp;R)</source>
        <translation>&amp;Log In Again</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>退出程序(&amp;E)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>CTTSEffectDlg</name>
    <message>
        <location filename="../../src/ui/speech/ttseffectdlg.ui" line="+34"/>
        <source>播音效果：</source>
        <translation>Speech voice:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>播音效果</source>
        <translation>Speech voice</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>背景音乐：</source>
        <translation>Background music:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>背景音乐</source>
        <translation>Background Music</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>试听</source>
        <translation>Preview</translation>
    </message>
</context>
<context>
    <name>CTTSListDlg</name>
    <message>
        <location filename="../../src/ui/schedule/ttslistdlg.cpp" line="+36"/>
        <source>即时播放</source>
        <translation>Speak now</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>请输入要播放的文字内容：</source>
        <translation>Enter the text to be spoken:</translation>
    </message>
    <message>
        <location line="+6"/>
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
    <name>CTTSStockDlg</name>
    <message>
        <location filename="../../src/ui/speech/ttsstockdlg.ui" line="+32"/>
        <source>文稿列表：</source>
        <translation>Scripts:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>文稿列表</source>
        <translation>Scripts</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>所选文稿的内容</source>
        <translation>Text of the selected script</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>增加文稿</source>
        <translation>Add a script</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>编辑文稿</source>
        <translation>Edit the script</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>删除文稿</source>
        <translation>Delete the script</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>试听</source>
        <translation>Preview</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>试听文稿</source>
        <translation>Preview the script</translation>
    </message>
</context>
<context>
    <name>CTTSStockSelDlg</name>
    <message>
        <location filename="../../src/ui/schedule/ttsstockseldlg.cpp" line="+19"/>
        <source>选择播音文稿</source>
        <translation>Choose a Script</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>播音文稿列表：</source>
        <translation>Scripts:</translation>
    </message>
    <message>
        <location line="+29"/>
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
    <name>CTTSTaskDlg</name>
    <message>
        <location filename="../../src/ui/speech/ttstaskdlg.ui" line="+34"/>
        <source>播音日期：</source>
        <translation>Date:</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>日期不限</source>
        <translation>Any date</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>播音内容：</source>
        <translation>Speech text:</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>搜索播音任务</source>
        <translation>Search speech tasks</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>播音任务列表：</source>
        <translation>Speech tasks:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>播音任务列表</source>
        <translation>Speech tasks</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>所选播音任务的内容</source>
        <translation>Text of the selected speech task</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>增加播音任务</source>
        <translation>Add speech task</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>编辑播音任务</source>
        <translation>Edit speech task</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>删除播音任务</source>
        <translation>Delete speech task</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>禁用</source>
        <translation>Disable</translation>
    </message>
</context>
<context>
    <name>CTTSTaskEditDlg</name>
    <message>
        <location filename="../../src/ui/speech/ttstaskeditdlg.ui" line="+6"/>
        <source>播音任务</source>
        <translation>Speech Task</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>任务名称：</source>
        <translation>Task name:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>任务名称</source>
        <translation>Task name</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>播放日期：</source>
        <translation>Play dates:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>开始日期</source>
        <translation>Start date</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>结束日期</source>
        <translation>End date</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>播放时间：</source>
        <translation>Play time:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>开始时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>结束时间</source>
        <translation>End time</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>循环间隔：</source>
        <translation>Repeat every:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>循环间隔</source>
        <translation>Repeat interval in minutes</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>分钟</source>
        <translation>minutes</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>星期日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>播音效果：</source>
        <translation>Speech voice:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>播音效果</source>
        <translation>Speech voice</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>背景音乐：</source>
        <translation>Background music:</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>背景音乐</source>
        <translation>Background music</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>播音内容：</source>
        <translation>Speech text:</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>播音内容</source>
        <translation>Speech text</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>变量</source>
        <translation>Variables</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>插入变量</source>
        <translation>Insert a variable</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>文稿导入...</source>
        <translation>Import script...</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>试听</source>
        <translation>Preview</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>试听播音内容</source>
        <translation>Preview the speech text</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../src/ui/speech/ttstaskeditdlg.cpp" line="+83"/>
        <source>企业名称(%Name%)</source>
        <translation>Enterprise name (%Name%)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>日期(%Date%)</source>
        <translation>Date (%Date%)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>时间(%Time%)</source>
        <translation>Time (%Time%)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星期(%Week%)</source>
        <translation>Weekday (%Week%)</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>组%1</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>分区%1</source>
        <translation>Zone %1</translation>
    </message>
    <message>
        <location line="+124"/>
        <source>请输入一个 %1 至 %2 之间的整数。</source>
        <translation>Please enter an integer between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>CTTSTextDlg</name>
    <message>
        <location filename="../../src/ui/speech/ttstextdlg.ui" line="+14"/>
        <source>播音文稿</source>
        <translation>Script</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>文稿主题：</source>
        <translation>Title:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>文稿主题</source>
        <translation>Title</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>文稿内容：</source>
        <translation>Text:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>文稿内容</source>
        <translation>Text</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>变量</source>
        <translation>Variables</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>插入变量</source>
        <translation>Append a variable</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>文稿导入...</source>
        <translation>Import script...</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>试听</source>
        <translation>Preview</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>试听文稿</source>
        <translation>Preview the script</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
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
    <name>CUserEditDlg</name>
    <message>
        <location filename="../../src/ui/users/usereditdlg.ui" line="+14"/>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>用户组：</source>
        <translation>Role:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>用户组</source>
        <translation>Role</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>管理员</source>
        <translation>Administrator</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>用户名称：</source>
        <translation>User name:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>用户名称</source>
        <translation>User name</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>用户密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>用户密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>确认密码：</source>
        <translation>Confirm password:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>确认密码</source>
        <translation>Confirm password</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CUserLoginDlg</name>
    <message>
        <location filename="../../src/ui/users/userlogindlg.cpp" line="+58"/>
        <source>用户登录</source>
        <translation>User Login</translation>
    </message>
    <message>
        <location line="+9"/>
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
        <location line="+3"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>请输入登录名和密码。</source>
        <translation>Please enter your login name and password.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>登录名</source>
        <translation>Login name</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>密码</source>
        <translation>Password</translation>
    </message>
</context>
<context>
    <name>CUserManageDlg</name>
    <message>
        <location filename="../../src/ui/users/usermanagedlg.ui" line="+14"/>
        <source>用户管理</source>
        <translation>User Management</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>用户列表：</source>
        <translation>Users:</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>用户列表</source>
        <translation>Users</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>修改密码</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
