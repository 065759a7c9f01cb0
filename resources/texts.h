// Every text the program shows that is not in the resource script: the program's name,
// messages, labels, list headings and the formats that build dates and times. UTF-8 here;
// the compiler turns them into code page 932. The resource script holds the texts of the
// templates, the menu and the string table.
#pragma once

// The program's name, as the user knows it (captions, titles, plug-in information).
#define ZELMAR_PROGRAM_NAME "Tavelspore"
constexpr char kProgramName[] = ZELMAR_PROGRAM_NAME;

// The default face of the calendar font and of `jfont`.
constexpr char kDefaultFontFace[] = "ＭＳ Ｐゴシック";

// Weekday names, Sunday first.
constexpr const char* kWeekdayNamesJa[7] = {"日", "月", "火", "水", "木", "金", "土"};

// Main window.
constexpr char kMenuSettings[] = "設定(&S)";
constexpr char kMenuShow[] = "表示(&D)";
constexpr char kMenuHide[] = "非表示(&D)";
constexpr char kPositionSaved[] = "現在の位置とサイズを保存しました";
constexpr char kSaveFailedFormat[] = "設定ファイルに保存できませんでした。\n%s";  // the file
constexpr char kBackgroundFailedFormat[] = "背景画像を読み込めませんでした\n%s";  // the file
// At start, entries of the settings file past the list's room: the room, their count.
constexpr char kEntriesNotLoadedFormat[] =
    "スケジュールが%d件を超えるため、%d件を読み込めませんでした（ファイルには残しています）";
constexpr char kTrayTipFormat[] = "%d年%d月%d日(%s)";          // year, month, day, weekday
constexpr char kTitleFormatJa[] = "%s %d年%d月";               // name, year, month
constexpr char kTitleFormatEn[] = "%s %s %d";                  // name, month name, year
constexpr char kMonthHeaderFormatJa[] = "%d年 %d月";           // year, month

// Message box buttons.
constexpr char kButtonCancel[] = "ｷｬﾝｾﾙ";
constexpr char kButtonAbort[] = "中止";
constexpr char kButtonRetry[] = "再試行";
constexpr char kButtonIgnore[] = "無視";
constexpr char kButtonYes[] = "はい";
constexpr char kButtonNo[] = "いいえ";

// Display-month dialog.
constexpr char kDisplayMonthInvalid[] = "表示月の設定が無効です";

// Settings dialog.
constexpr char kBackgroundChooserTitle[] = "背景画像の選択";

// Schedule dialog.
constexpr char kScheduleListFull[] = "これ以上登録できません";
constexpr char kScheduleCloseQuestion[] =
    "スケジュールを編集中です\nスケジュール設定を終了しますか？";
constexpr char kYearOutOfRange[] = "年の設定は1980年から2079年までです";
constexpr char kMonthMissing[] = "月が入力されていません";
constexpr char kMonthInvalid[] = "月の設定が不正です";
constexpr char kDayMissing[] = "日が入力されていません";
constexpr char kDayInvalid[] = "日の設定が不正です";
constexpr char kMemoMissing[] = "メモが入力されていません";
constexpr char kTrySoundIdle[] = "♪";     // the try-sound button, idle
constexpr char kTrySoundPlaying[] = "！";  // and while a tried sound plays
constexpr char kEveryYear[] = "通年";
constexpr char kRowYearFormat[] = "%d年";                       // year
constexpr char kRowDateMovableFormat[] = "%2d月??日";           // month
constexpr char kRowDateSecondMondayFormat[] = "%2d月第2月曜";   // month
constexpr char kRowDateThirdMondayFormat[] = "%2d月第3月曜";    // month
constexpr char kRowDateFormat[] = "%2d月%2d日";                 // month, day
constexpr char kRowSpanEndFormat[] = "〜%d/%d";                 // last day's month, day
// What stored entries may not hold, after the date and memo checks, in their order.
constexpr char kRepeatInvalid[] = "繰り返しは年月日の決まった予定にだけ設定できます";
constexpr char kRepeatEndInvalid[] = "繰り返しの終わりの設定が不正です";
constexpr char kSpanInvalid[] = "終了日時の設定が不正です";
constexpr char kLeadInvalid[] = "告知の設定が不正です (7日前まで)";
constexpr char kSkipsInvalid[] = "除く日の設定が不正です";
// The repeat button with fields that name no day of a year.
constexpr char kRepeatNeedsDate[] = "繰り返しを設定するには年月日を入力してください";
// Lead units of the alarm, and the days of a day alarm (an entry without a time).
constexpr const char* kLeadUnits[3] = {"分前", "時間前", "日前"};
constexpr const char* kDayAlarmDays[8] = {"当日", "前日", "2日前", "3日前",
                                          "4日前", "5日前", "6日前", "7日前"};
constexpr char kRepeatColumn[] = "繰り返し";

// A repeating entry changed or deleted from a day: the question and its buttons.
constexpr char kOccurrenceChangeQuestion[] =
    "繰り返しの予定です。\nこの日だけ変更しますか、すべて変更しますか？";
constexpr char kOccurrenceDeleteQuestion[] =
    "繰り返しの予定です。\nこの日だけ削除しますか、すべて削除しますか？";

// The rule of a repeating entry in words ("毎週 月・木", "2週間ごと 火", "毎月 第2・第4水曜",
// "毎月 末日", "毎日 (2027/1/14まで)").
constexpr char kEveryDay[] = "毎日";
constexpr char kEveryWeek[] = "毎週";
constexpr char kEveryMonth[] = "毎月";
constexpr char kEveryYearRule[] = "毎年";
constexpr char kEveryNDaysFormat[] = "%d日ごと";
constexpr char kEveryNWeeksFormat[] = "%d週間ごと";
constexpr char kEveryNMonthsFormat[] = "%dか月ごと";
constexpr char kEveryNYearsFormat[] = "%d年ごと";
constexpr char kRuleDayFormat[] = "%d日";
constexpr char kRuleLastDay[] = "末日";
constexpr char kRuleNthFormat[] = "第%d";
constexpr char kRuleNthLast[] = "最終";
constexpr char kRuleWeekdaySuffix[] = "曜";
constexpr char kRuleSeparator[] = "・";
constexpr char kRuleUntilFormat[] = " (%d/%d/%dまで)";
constexpr char kRuleCountFormat[] = " (%d回)";
// The repeat dialog: the interval's unit by kind, and what its fields may not hold.
constexpr const char* kIntervalUnits[5] = {"", "日ごと", "週間ごと", "か月ごと", "年ごと"};
constexpr char kIntervalInvalid[] = "間隔は1から99までです";
constexpr char kWeekdaysMissing[] = "曜日を選んでください";
constexpr char kMonthDaysInvalid[] = "日付は1から31までで入力してください";
constexpr char kNthMissing[] = "第何週と曜日を選んでください";
constexpr char kUntilInvalid[] = "終わりの日付が不正です";
constexpr char kUntilBeforeStart[] = "終わりの日付が最初の日より前です";
constexpr char kCountInvalid[] = "回数は1から9999までです";

// List headings.
constexpr char kColumnYear[] = "年";
constexpr char kColumnDate[] = "月日";
constexpr char kColumnTime[] = "時刻";
constexpr char kColumnMemo[] = "メモ";

// Japan's national holidays: the menu switch, and each holiday by the name the law gives it.
constexpr char kMenuNationalHolidays[] = "祝日を表示(&H)";
// Holidays underlined, Sundays bold, Saturdays italic, also outside a high-contrast scheme.
constexpr char kMenuDayShapes[] = "祝日と土日を形でも示す(&U)";
constexpr char kNewYearsDay[] = "元日";
constexpr char kComingOfAgeDay[] = "成人の日";
constexpr char kFoundationDay[] = "建国記念の日";
constexpr char kEmperorsBirthday[] = "天皇誕生日";
constexpr char kVernalEquinoxDay[] = "春分の日";
constexpr char kGreeneryDay[] = "みどりの日";
constexpr char kShowaDay[] = "昭和の日";
constexpr char kConstitutionDay[] = "憲法記念日";
constexpr char kChildrensDay[] = "こどもの日";
constexpr char kMarineDay[] = "海の日";
constexpr char kMountainDay[] = "山の日";
constexpr char kRespectForTheAgedDay[] = "敬老の日";
constexpr char kAutumnalEquinoxDay[] = "秋分の日";
constexpr char kHealthSportsDay[] = "体育の日";
constexpr char kSportsDay[] = "スポーツの日";
constexpr char kCultureDay[] = "文化の日";
constexpr char kLabourThanksgivingDay[] = "勤労感謝の日";
constexpr char kShowaFuneral[] = "昭和天皇の大喪の礼";
constexpr char kEnthronementCeremony[] = "即位礼正殿の儀";
constexpr char kCrownPrinceWedding[] = "皇太子徳仁親王の結婚の儀";
constexpr char kEnthronementDay[] = "天皇の即位の日";
constexpr char kSubstituteHoliday[] = "振替休日";
constexpr char kDayBetweenHolidays[] = "国民の休日";

// The old calendar's days (calendar/almanac.h): 六曜 in their order, the 24 solar terms by
// the sun's longitude in steps of 15 degrees from 春分, the 雑節 in the order of
// calendar/zassetsu.h, and the day-contents line ("旧暦 閏11月1日 大安 / 冬至・社日").
constexpr const char* kRokuyoNames[6] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
constexpr const char* kSolarTermNames[24] = {
    "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄"};
constexpr const char* kZassetsuNames[16] = {
    "節分", "彼岸入り", "社日", "彼岸明け", "八十八夜", "入梅", "半夏生", "土用入り",
    "土用入り", "土用入り", "土用入り", "二百十日", "二百二十日", "彼岸入り", "社日", "彼岸明け"};
constexpr char kLunarDateFormat[] = "旧暦 %s%d月%d日 %s";  // leap mark, month, day, 六曜
constexpr char kLunarLeapMark[] = "閏";
constexpr char kAlmanacNamesSeparator[] = " / ";  // between the date and the day's names
constexpr char kAlmanacNameSeparator[] = "・";    // between two names
// Their menu switches: 六曜 under the day numbers, the old-calendar date and solar terms.
constexpr char kMenuRokuyo[] = "六曜を表示(&R)";
constexpr char kMenuKyureki[] = "旧暦・節気を表示(&K)";

// Era years (calendar/era.h), the eras in order.
constexpr const char* kEraNames[3] = {"昭和", "平成", "令和"};
constexpr char kEraYearFormat[] = "%s%d年";   // era, year
constexpr char kEraFirstYearFormat[] = "%s元年";  // era
// Their menu switch, and the dated texts with the era year in place of "%d年".
constexpr char kMenuWareki[] = "和暦で表示(&W)";
constexpr char kMonthHeaderEraFormatJa[] = "%s %d月";      // era year, month
constexpr char kTitleEraFormatJa[] = "%s %s%d月";         // name, era year, month
constexpr char kTrayTipEraFormat[] = "%s%d月%d日(%s)";      // era year, month, day, weekday
constexpr char kListHeaderEraFormat[] = "%s%2d月%2d日(%s)"; // era year, month, day, weekday

// The month as a screen reader tells it (app/day_names.h): a day's name, "12月9日 水曜日 今日、
// 予定2件、天皇誕生日", the month buttons and what their default actions do.
constexpr char kDayNameFormat[] = "%d月%d日 %s曜日";  // month, day, weekday
constexpr char kDayNameToday[] = "今日";
constexpr char kDayNameEntriesFormat[] = "予定%d件";    // entries
constexpr char kDayNameSubscribedFormat[] = "購読予定%d件";  // subscribed calendars' events
constexpr char kDayNameDayOff[] = "休日";               // red by a holiday entry
constexpr char kDayNameSeparator[] = "、";
constexpr char kPreviousMonthButton[] = "前の月";
constexpr char kNextMonthButton[] = "次の月";
constexpr char kOpenDayAction[] = "開く";
constexpr char kPressAction[] = "押す";

// Day contents and recent schedule lists.
constexpr char kListHeaderFormat[] = "%d年%2d月%2d日(%s)";  // year, month, day, weekday
constexpr const char* kNearDays[3] = {"今日", "明日", "明後日"};
constexpr char kDaysAheadFormat[] = "%2ld日後";               // days
constexpr char kRecentDateFormat[] = "%2d月%2d日(%s)";        // month, day, weekday
// A time with the end: "14:00〜15:30" (start hour, minute, end hour, minute).
constexpr char kTimeRangeFormat[] = "%2d:%02d〜%2d:%02d";

// Alarm window: date, time and memo, then how long remains.
constexpr char kAlarmBeforeFormat[] = "%d年%d月%d日 %s\r\n%.*s\r\n%d 分前です";
constexpr char kAlarmDueFormat[] = "%d年%d月%d日 %s\r\n%.*s\r\n予定時刻です";
// A lead in hours or days, and the alarm of an entry without a time: on its day, or days
// before it.
constexpr char kAlarmHoursBeforeFormat[] = "%d年%d月%d日 %s\r\n%.*s\r\n%d 時間前です";
constexpr char kAlarmDaysBeforeFormat[] = "%d年%d月%d日 %s\r\n%.*s\r\n%d 日前です";
constexpr char kAlarmDayFormat[] = "%d年%d月%d日\r\n%.*s\r\n今日の予定です";
constexpr char kAlarmDayBeforeFormat[] = "%d年%d月%d日\r\n%.*s\r\n%d 日後の予定です";
constexpr char kAlarmDayMissedFormat[] = "%d年%d月%d日\r\n%.*s\r\n(起動前の予定)";
// An alarm that came due while the program was not running, and the first line of a window
// whose alarms do not all fit on the screen.
constexpr char kAlarmMissedFormat[] = "%d年%d月%d日 %s\r\n%.*s\r\n(起動前の予定)";
constexpr char kAlarmCountFormat[] = "アラーム %d件";
// The clock is behind the minute the alarms were last checked up to: its date and time,
// then the alarms that will not ring (date, time, memo), and how many more.
constexpr char kHeldBackFormat[] =
    "時計が、前回アラームを確かめた %d年%d月%d日 %s より前になっています。\n"
    "同じアラームを二度鳴らさないため、この時刻までのアラームは鳴りません。";
constexpr char kHeldBackListHead[] = "\n\n鳴らないアラーム:";
constexpr char kHeldBackLineFormat[] = "\n%d年%d月%d日 %s  %.*s";
constexpr char kHeldBackMoreFormat[] = "\nほか %d 件";

// The image plug-in's description after its file name and version, and its format names.
#define ZELMAR_PLUGIN_DESCRIPTION " " ZELMAR_PROGRAM_NAME " 用 PNG/JPEG/GIF/TIFF 画像プラグイン"
constexpr char kPngPictures[] = "PNG 画像";
constexpr char kJpegPictures[] = "JPEG 画像";
constexpr char kGifPictures[] = "GIF 画像";
constexpr char kTiffPictures[] = "TIFF 画像";

// Image chooser filter around the plug-ins' own entries.
constexpr char kImageFilterHead[] = "画像ファイル|*.bmp;*.rle";
constexpr char kImageFilterTail[] = "|全てのファイル|*.*||";

// iCalendar export and import: the menu items, the file choosers (the export's caption says
// that memos are written unscrambled), what went wrong with a file, and the message after
// each.
constexpr char kMenuIcalExport[] = "iCalendar形式で書き出す(&E)...";
constexpr char kMenuIcalImport[] = "iCalendar形式を読み込む(&I)...";
constexpr char kIcalDefaultName[] = ZELMAR_PROGRAM_NAME ".ics";  // proposed for an export
constexpr char kIcalFilter[] = "iCalendar (*.ics)|*.ics|";
constexpr char kIcalExportTitle[] =
    ZELMAR_PROGRAM_NAME " - iCalendar形式で書き出す (メモは暗号化されずに書き出されます)";
constexpr char kIcalImportTitle[] = ZELMAR_PROGRAM_NAME " - iCalendar形式を読み込む";
constexpr char kIcalNotCalendar[] = "iCalendar形式のファイルではないため、読み込めませんでした。";
constexpr char kIcalReadFailed[] = "ファイルを読み込めませんでした。";
constexpr char kIcalTooLarge[] = "ファイルが大きすぎるため、読み込めませんでした。";
constexpr char kIcalWriteFailed[] = "ファイルに書き出せませんでした。";
constexpr char kIcalReadFormat[] = "%d 件の予定を読み込みました。\n\n";     // events in the file
constexpr char kIcalAddedFormat[] = "追加した予定: %d 件\n";
constexpr char kIcalUpdatedFormat[] = "更新した予定: %d 件\n";
constexpr char kIcalAlreadyFormat[] = "登録済みの予定: %d 件\n";
constexpr char kIcalChangedFormat[] = "変更して追加した予定: %d 件\n";
constexpr char kIcalRecurrenceCutFormat[] = "    繰り返しを最初の1回だけにした予定: %d 件\n";
constexpr char kIcalAlarmCutFormat[] = "    アラームを外した予定: %d 件\n";
constexpr char kIcalSoundRefusedFormat[] =
    "    音のファイルがこのコンピューターのディスク上にないため、標準の音にした予定: %d 件\n";
constexpr char kIcalLeftOutFormat[] = "追加しなかった予定: %d 件\n";
constexpr char kIcalFullFormat[] = "    登録数が上限の%d件に達したため: %d 件\n";  // limit, events
constexpr char kIcalUnreadableFormat[] =
    "    読み取れないか、日付が1980年から2079年の外にあるため: %d 件\n";
constexpr char kIcalCancelledFormat[] = "    取り消された予定か、繰り返しに日付がないため: %d 件\n";
constexpr char kIcalDeletedHereFormat[] = "    削除した予定で、その後ファイルで変更されていないため: %d 件\n";
constexpr char kIcalSaveFailed[] = "\n設定ファイルに保存できませんでした。\n";
constexpr char kIcalWrittenFormat[] = "%d 件の予定を書き出しました。";
constexpr char kIcalNoDayFormat[] = "\n日付の定まらない予定 %d 件は書き出していません。";

// Texts inside iCalendar files. The memo of an event without a title, "(件名なし)", as its
// code page 932 bytes: the reader is also built by a compiler that keeps literals UTF-8 (the
// fuzz build). The category of a holiday entry (祭日, as the schedule dialog names the flag)
// and the categories read as one, in the file's UTF-8.
constexpr char kIcalUntitled[] = "(\x8C\x8F\x96\xBC\x82\xC8\x82\xB5)";
constexpr char kIcalHolidayCategory[] = u8"祭日";
constexpr char kIcalNationalHolidayCategory[] = u8"祝日";

// Calendar sync: the menu items, the settings dialog's questions and answers, what a sync
// that went wrong or left something to the user says, and the tray tip's second line.
constexpr char kMenuSyncSettings[] = "同期の設定(&Y)...";
constexpr char kMenuSyncNow[] = "今すぐ同期(&N)";
constexpr char kSyncPlainQuestionFormat[] =  // the server
    "%s へは暗号化されない接続 (http) でパスワードを送ることになります。\nよろしいですか？";
constexpr char kSyncSearching[] = "カレンダーを探しています...";
constexpr char kSyncFoundFormat[] = "カレンダーが %d 件見つかりました。一覧から選んでください。";
constexpr char kSyncSearchFailedFormat[] = "カレンダーを探せませんでした。\n%s";  // the reason
constexpr char kSyncPasswordNotSaved[] = "パスワードを資格情報マネージャーに保存できませんでした。";
constexpr char kSyncFailedFormat[] = "カレンダーの同期に失敗しました。\n%s";  // the reason
constexpr char kSyncErrorAddress[] = "サーバーのアドレスが正しくないか、見つかりません。";
constexpr char kSyncErrorInsecure[] =
    "暗号化されない接続 (http) でパスワードを送ることは許可されていません。";
constexpr char kSyncErrorConnect[] = "サーバーに接続できません。";
constexpr char kSyncErrorTimeout[] = "サーバーから時間内に応答がありません。";
constexpr char kSyncErrorCertUntrusted[] = "サーバーの証明書は信頼された発行元のものではありません。";
constexpr char kSyncErrorCertName[] = "サーバーの証明書は別の名前に対して発行されたものです。";
constexpr char kSyncErrorCertExpired[] = "サーバーの証明書は有効期限が切れているか、まだ有効ではありません。";
constexpr char kSyncErrorCertOther[] = "サーバーと安全な接続を確立できません。";
constexpr char kSyncErrorAuth[] = "ユーザー名またはパスワードが正しくありません。";
constexpr char kSyncErrorNotFound[] = "カレンダーが見つかりません。";
constexpr char kSyncErrorNotCalendar[] = "このアドレスはカレンダーではありません。";
constexpr char kSyncErrorServerFormat[] = "サーバーがエラーを返しました (%d)。";  // HTTP status
constexpr char kSyncErrorServer[] = "サーバーの応答を読み取れません。";
constexpr char kSyncErrorTooLarge[] = "サーバーの応答が大きすぎます。";
constexpr char kSyncKeptBothFormat[] =  // entries
    "両方で変更された予定が %d 件あったため、両方の版を残しました。";
constexpr char kSyncNotTakenFormat[] =  // limit, events
    "登録数が上限の%d件に達したため、サーバーの予定 %d 件を取り込めませんでした。";
constexpr char kSyncTipFormat[] = "同期: %d/%d %d:%02d";  // month, day, hour, minute
// Subscribed calendars (read-only feeds): the menu item, the dialog's texts and messages,
// the mark of their rows in the lists, and the notice of a feed that could not be refreshed.
constexpr char kMenuSubscriptions[] = "カレンダーの購読(&B)...";
constexpr char kFeedColumnOn[] = "状態";
constexpr char kFeedColumnName[] = "名前";
constexpr char kFeedColumnUrl[] = "アドレス";
constexpr char kFeedColumnState[] = "最終取得";
// The last fetch of a feed in the dialog's list.
constexpr char kFeedStateNone[] = "未取得";
constexpr char kFeedStateTimeFormat[] = "%d/%02d/%02d %d:%02d";  // year, month, day, hour, minute
constexpr char kFeedStateFailedFormat[] = "取得失敗（%s）";       // the reason
constexpr char kFeedStateFailedCopyFormat[] = "%s の内容（更新失敗: %s）";  // the copy's time, the reason
constexpr char kFeedOn[] = "購読中";
constexpr char kFeedOff[] = "停止";
constexpr char kFeedUrlEmpty[] = "カレンダーのアドレスを入力してください。";
constexpr char kFeedUrlBad[] =
    "アドレスは http://、https:// または webcal:// で始まる正しい形で入力してください。";
constexpr char kFeedDuplicate[] = "このアドレスのカレンダーはすでに購読しています。";
constexpr char kFeedFull[] = "これ以上のカレンダーは購読できません。";
constexpr char kFeedNameLong[] = "名前が長すぎます。";
constexpr char kSubscribedRowFormat[] = "［%s］%s";  // the feed's name, the memo
// A feed that could not be refreshed: its name, the reason. Told once until it changes.
constexpr char kFeedFailedFormat[] =
    "購読カレンダー「%s」を更新できませんでした（%s）。前回取得した内容を表示しています。";
constexpr char kFeedFailedNoCopyFormat[] = "購読カレンダー「%s」を取得できませんでした（%s）。";
constexpr char kFeedReasonAddress[] = "アドレスのサーバーが見つかりません";
constexpr char kFeedReasonConnect[] = "サーバーに接続できません";
constexpr char kFeedReasonTimeout[] = "サーバーが応答しません";
constexpr char kFeedReasonCertificate[] = "サーバーの証明書を確認できません";
constexpr char kFeedReasonAuth[] = "アクセスが拒否されました";
constexpr char kFeedReasonNotFound[] = "カレンダーが見つかりません";
constexpr char kFeedReasonNotCalendar[] = "カレンダーの形式ではありません";
constexpr char kFeedReasonTooLarge[] = "カレンダーが大きすぎます";
constexpr char kFeedReasonServer[] = "サーバーがエラーを返しました";
