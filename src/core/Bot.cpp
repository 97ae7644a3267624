#include "core/Bot.h"

#include <exception>

#include "core/commands/ConsoleHelp.h"
#include "core/context/BotVoice.h"
#include "core/model/AboutTexts.h"
#include "core/model/ControlNames.h"
#include "core/model/SettingsRules.h"
#include "core/store/LanguageBindings.h"
#include "core/text/Product.h"
#include "core/users/MyInfoParser.h"

namespace varnek {

Bot::Bot(Ports ports, const std::filesystem::path& programDirectory)
    : Bot(ports, ProgramPaths::Portable(programDirectory)) {}

Bot::Bot(Ports ports, const ProgramPaths& paths)
    : guardedHttp_(ports.http, *this),
      guardedMedia_(ports.media, *this),
      ports_{ports.transport, ports.clock,  ports.dialogs, ports.shell,
             ports.window,    guardedHttp_, guardedMedia_, ports.codePages},
      settingsDirectory_(paths.settings),
      dataDirectory_(paths.data),
      panes_(controls_, lang_, ports.clock, paths.logs),
      kickLog_(controls_.Get(ctl::kLogKicksCheckBox), ports.clock, paths.logs / "kicks.txt"),
      settings_(controls_, panes_, lang_, ports.clock, ports.dialogs, ports.window, ticks_,
                settingsDirectory_ / "Varnek.ini"),
      operators_(controls_.List(ctl::kOpsListBox)),
      kickWatch_({.clock = ports_.clock, .counters = counters_, .lang = lang_, .panes = panes_}),
      lifecycle_({.certificates = certificates_,
                  .clock = ports_.clock,
                  .connection = connection_,
                  .controls = controls_,
                  .dialogs = ports_.dialogs,
                  .kickWatch = kickWatch_,
                  .lang = lang_,
                  .operators = operators_,
                  .panes = panes_,
                  .session = session_,
                  .settings = settings_,
                  .ticks = ticks_,
                  .users = users_,
                  .window = ports_.window}),
      certificates_({.connection = connection_,
                     .dialogs = ports_.dialogs,
                     .lang = lang_,
                     .panes = panes_,
                     .session = session_,
                     .settings = settings_},
                    [this] { return lifecycle_.Connect(); }),
      login_({.codePages = ports_.codePages,
              .controls = controls_,
              .panes = panes_,
              .sender = connection_,
              .session = session_,
              .window = ports_.window}),
      hubInformation_({.connection = connection_,
                       .controls = controls_,
                       .dialogs = ports_.dialogs,
                       .kickWatch = kickWatch_,
                       .lang = lang_,
                       .operators = operators_,
                       .panes = panes_,
                       .session = session_,
                       .users = users_},
                      [this] { lifecycle_.ConnectAction(); }),
      timer_({.clock = ports_.clock,
              .connection = connection_,
              .controls = controls_,
              .counters = counters_,
              .kickWatch = kickWatch_,
              .lang = lang_,
              .session = session_,
              .settings = settings_,
              .ticks = ticks_,
              .users = users_},
             login_, *this, [this] { lifecycle_.ConnectAction(); }),
      detections_({.controls = controls_,
                   .counters = counters_,
                   .kickLog = kickLog_,
                   .kickWatch = kickWatch_,
                   .lang = lang_,
                   .operators = operators_,
                   .panes = panes_,
                   .sender = connection_,
                   .users = users_}),
      botCommands_({.codePages = ports_.codePages,
                    .controls = controls_,
                    .detections = detections_,
                    .kickLog = kickLog_,
                    .lang = lang_,
                    .panes = panes_,
                    .sender = connection_,
                    .settings = settings_,
                    .users = users_}),
      console_({.codePages = ports_.codePages,
                .connection = connection_,
                .controls = controls_,
                .lang = lang_,
                .media = ports_.media,
                .panes = panes_,
                .sender = connection_,
                .shell = ports_.shell,
                .window = ports_.window},
               [this] { return botCommands_.BuildHelpText(); }),
      userActions_({.controls = controls_,
                    .dialogs = ports_.dialogs,
                    .kickWatch = kickWatch_,
                    .lang = lang_,
                    .panes = panes_,
                    .sender = connection_,
                    .shell = ports_.shell,
                    .users = users_,
                    .window = ports_.window}),
      listEditing_({.controls = controls_, .dialogs = ports_.dialogs, .lang = lang_, .users = users_}),
      updateCheck_({.controls = controls_,
                    .dialogs = ports_.dialogs,
                    .http = ports_.http,
                    .lang = lang_,
                    .shell = ports_.shell}),
      commandRunner_([this](std::string_view sender, std::string_view text) { botCommands_.Execute(sender, text); }),
      chat_({.clock = ports_.clock,
             .controls = controls_,
             .lang = lang_,
             .operators = operators_,
             .panes = panes_,
             .sender = connection_},
            [this](std::string_view sender, std::string_view text) {
              if (commandRunner_) {
                commandRunner_(sender, text);
              }
            }),
      connection_(ports.transport, ports.dialogs, panes_, lang_, counters_, *this, lifecycle_, *this) {
  InstallSettingsRules(controls_, ticks_, ports.clock, [this] { RebuildHelpMemo(); });
}

Bot::~Bot() {
  connection_.Shutdown();
}

void Bot::Start() {
  Run([this] {
    ports_.window.SetApplicationIcon(IconKind::Disconnected);
    controls_.Get(ctl::kClientCoolTrayIcon).SetHint(kProductName);
    FillAboutPage();
    settings_.Load();
    RebuildHelpMemo();
    const std::uint32_t now = ports_.clock.TickCount();
    ticks_.autosave = now;
    ticks_.tryInfo = now;
    ticks_.start = now;
    ApplyLanguage();
    if (controls_.Get(ctl::kAutoConnectCheckBox).Checked() && lifecycle_.KnowsHubAndPort()) {
      lifecycle_.ConnectAction();
    }
  });
}

void Bot::FillAboutPage() {
  controls_.Get(ctl::kMainForm).SetCaption(kProductName);
  controls_.Get(ctl::kApplicationLabel).SetCaption(ApplicationText());
  controls_.Get(ctl::kFaqMemo).SetText(FaqText());
}

void Bot::RebuildHelpMemo() {
  controls_.Get(ctl::kHelpMemo).SetText(BuildConsoleHelpText(CurrentTrigger(controls_, ports_.codePages)));
}

void Bot::ApplyLanguage() {
  const std::string& file = controls_.Get(ctl::kLangFileEdit).Text();
  if (!file.empty()) {
    lang_.LoadFile(dataDirectory_ / "translations" / file);
  }
  varnek::ApplyLanguage(controls_, lang_, connection_.Connected());
}

void Bot::BrowseLanguageFile() {
  const std::filesystem::path directory = dataDirectory_ / "translations";
  auto chosen = ports_.dialogs.PickFile(directory.string(), lang_.Text(LangLanguageFiles), "*.lang",
                                        lang_.Text(LangOpenLanguageFile));
  if (chosen) {
    controls_.Get(ctl::kLangFileEdit).SetText(std::filesystem::path(*chosen).filename().string());
  }
}

void Bot::PickChatColour(bool textColour) {
  Control& colour = controls_.Get(textColour ? ctl::kChatFontColorDialog : ctl::kChatColorDialog);
  if (auto chosen = ports_.dialogs.PickColour(colour.Value())) {
    colour.SetValue(*chosen);
  }
}

void Bot::TimerTick() {
  Run([this] { timer_.Tick(); });
}

void Bot::OnMyInfo(std::string_view parameters) {
  auto fields = ParseMyInfo(parameters);
  if (!fields) {
    return;
  }
  panes_.NiceLine(LangUserSending, {fields->nick, "$MyINFO"});
  NoticeIfKicked(detections_.HandleMyInfo(*fields, parameters), fields->nick);
}

void Bot::OnPrivateMessage(std::string_view recipient, std::string_view sender, std::string_view text) {
  chat_.HandlePrivateMessage(recipient, sender, text);
  NoticePrivateMessage(sender, text);
}

// Bad input from the hub never reaches the last-resort question: one garbled
// $MyINFO would otherwise stop the bot with a question on every update of
// that user. The command is dropped with a note in the debug pane.
void Bot::HandleAbandonedCommand(const std::string& what) {
  if (panes_.NiceOutput()) {
    panes_.DebugLine("Command ignored: " + what);
  }
}

void Bot::HandleUnexpectedError(const std::string& what) {
  try {
    lifecycle_.HandleUnexpectedError(what);
  } catch (const std::exception& nested) {
    // The reload itself failed; nothing sensible is left to ask.
    ports_.dialogs.MessageBox(DialogKind::Warning, DialogButtons::Ok, nested.what());
  }
}

}  // namespace varnek
