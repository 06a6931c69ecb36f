// velmarix.dat, mascon.dat, operation.dat and readme.html of the demo pack.
#include "demo_line/pack_files.h"
#include "demo_line/pack_text.h"

namespace vesk::demo {
namespace {

const char* kStrings = R"([Disp]
30,2
800
800
450
400
[Path]
movie\
[Forward]
前
[Neutral]
切
[Reverse]
後
[Stop]
 停車
[Pass]
 通過
[Stop2]
 運転停車
[Neut]
緩め
[Neut2]
切
[Apply]
常用
[Maintain]
運転
[Remove]
込め
[Hold]
重なり
[Hold2]
抑速
[EB]
非常
[Const]
定速
[Cars]
両編成
[TC]
信号待ち
[Stops]
停車駅：
通過駅：
[Doors]
ドア閉
ドア開
[Gears]
中立
変速
直結
[InfoLabel]
回送
ドアを開けてください
ATS-P 停止信号に接近しています
パターン接近 あと
制限 あと
（次
照査
制限
予備
予備
側線映像の再生中は力行できません
非常ブレーキが動作しています。停車してください。
停車しました。ブレーキを非常位置にして R キーで ATS を復帰してください。
ATS 警報！ブレーキをかけてスペースキーで確認してください。
運転士異常時列車停止装置が動作します。何かキーを押してください。
注意信号です。55km/h 以下に減速してください。
減速信号です。75km/h 以下に減速してください。
警戒信号です。25km/h 以下に減速してください。
停車駅が近づいています。減速してください。
予備
ATS が切れています。
車止めです。Backspace キーで折り返すことができます。
#
[Start]
開始(&S)
[Move]
駅移動(&M)
[Display]
表示(&D)
[Control]
コントローラ(&C)
[Save]
保存(&V)
)";

// Five characters a code: what a serial train controller sends for each handle position.
const char* kControllerMap = R"(TSA51
TSA52
TSA53
TSA54
TSA55
TSA56
TSA50
TSE51
TSE52
TSE53
TSE54
TSE55
TSE56
TSE57
TSE58
TSE59
TSG91
TSG90
TSG92
TSK11
TSK21
TSK31
TSK41
#
)";

const char* kOperation = R"(操作説明
運転台の操作（キーボード）
  8 / マウスホイール下 … ノッチを上げる（ブレーキを緩める）
  2 / マウスホイール上 … ブレーキをかける（ノッチを下げる）
  5 … ハンドルをすべて切・緩めにする
  0 / q … 非常ブレーキ
  z / a … ワンハンドル：力行 / ブレーキ、ツーハンドル：力行ハンドル
  , / . / / … ツーハンドルのブレーキハンドル（緩め / 込め / 非常）
  f / n / b … 逆転器 前 / 切 / 後（停車中のみ）
  9 / w … 力行モードの切り換え（ノッチ切のとき）
  w / s / x … 気動車の変速レバー 直結 / 中立 / 変速（手動変速車）
  3 … 警笛　6 … 電子笛　4 … ブザー
  スペース … ATS 確認　r … ATS 復帰（停車して非常位置で）
  d / 7 … ドア開閉（ワンマン）　c / 1 … 車内放送（ワンマン）
  t … 定速運転　Enter … 喚呼
  Scroll Lock … 2 と 8 を入れ換える
  F2 … 機関始動（押し続ける）　Shift+F2 … 機関停止
  F1 / Shift+F1 … 自動運転 切 / 入（映像の速度で走ります）
)";

const char* kReadme = R"(<!DOCTYPE html>
<html lang="ja">
<head><meta charset="utf-8"><title>港湾線 運転シミュレータ / Harbour Line</title></head>
<body>
<h1>港湾線 運転シミュレータ</h1>
<p>青葉台から港町まで約 10 km の路線を運転します。タイトル画面で路線（下り・上り、各駅停車・快速・直通）と車両を選ぶと運転が始まります。Shift キーを押しながら路線を選ぶと別の時間帯のダイヤになり、どの車両でも運転できます。</p>
<h2>運転のしかた</h2>
<ol>
<li>ブレーキを緩めるには 8 キー（またはマウスホイール）を押します。空気が込められるまで少し待ちます。</li>
<li>8 キーでノッチを上げて加速し、2 キーでブレーキをかけます。5 キーですべて切・緩めになります。</li>
<li>停車駅では停止位置の目標（画面右上）と停止位置の線を見ながら止まります。時刻表の時刻を守りましょう。</li>
<li>信号と制限速度を守ってください。ATS が動作したときはブレーキをかけてスペースキーで確認します。</li>
</ol>
<p>キーの一覧は「表示」メニューの「操作説明」にあります。</p>
<hr>
<h1 lang="en">Harbour Line driving simulator</h1>
<p lang="en">Drive the 10 km Harbour Line from Aobadai to Minatomachi. On the title screen pick a service (down or up; local, rapid or through) and a train. Hold Shift while choosing a service for another time of day and the choice of every train.</p>
<h2 lang="en">How to drive</h2>
<ol lang="en">
<li>Release the brake with 8 (or the mouse wheel) and wait a moment for the air to charge.</li>
<li>Notch up with 8, brake with 2; 5 returns both handles to off/released; 0 or q is the emergency brake.</li>
<li>Stop at the stations with the stop target (top right) and the stop position lines; keep to the timetable.</li>
<li>Obey signals and speed limits. When the ATS rings, brake and confirm with the space bar.</li>
</ol>
<p lang="en">The key list is under Display / 操作説明 in the driving window.</p>
</body>
</html>
)";

}  // namespace

bool writeStringFiles(const std::filesystem::path& root) {
  return writeDataFile(root, "velmarix.dat", kStrings) && writeDataFile(root, "mascon.dat", kControllerMap) &&
         writeDataFile(root, "operation.dat", kOperation) && writeUtf8File(root, "readme.html", kReadme);
}

}  // namespace vesk::demo
