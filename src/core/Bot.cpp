#include "core/Bot.h"

#include <exception>

#include "core/commands/ConsoleHelp.h"
#include "core/model/AboutTexts.h"
#include "core/model/ControlNames.h"
#include "core/model/SettingsRules.h"
#include "core/store/LanguageBindings.h"
#include "core/text/Product.h"
#include "core/users/MyInfoParser.h"

namespace varnek {

Bot::Bot(Ports ports, std::filesystem::path programDirectory)
    : guardedHttp_(ports.http, *this),
      guardedMedia_(ports.media, *this),
      ports_{ports.transport, ports.clock,  ports.dialogs, ports.shell,
             ports.window,    guardedHttp_, guardedMedia_, ports.codePages},
      programDirectory_(std::move(programDirectory)),
      panes_(controls_, lang_, ports.clock, programDirectory_ / "logs"),
      settings_(controls_, panes_, lang_, ports.clock, ports.dialogs, ticks_, programDirectory_ / "Varnek.ini"),
      context_{controls_,        lang_,  panes_,    counters_,   users_,      controls_.List(ctl::kOpsListBox),
               session_,         ticks_, settings_, connection_, connection_, ports_,
               programDirectory_},
      lifecycle_(context_),
      login_(context_),
      hubInformation_(context_, [this] { lifecycle_.ConnectAction(); }),
      timer_(context_, login_, *this, [this] { lifecycle_.ConnectAction(); }),
      detections_(context_),
      botCommands_(context_),
      console_(context_, [this] { return botCommands_.BuildHelpText(); }),
      userActions_(context_),
      listEditing_(context_),
      updateCheck_(context_),
      commandRunner_([this](std::string_view sender, std::string_view text) { botCommands_.Execute(sender, text); }),
      chat_(context_,
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
    if (controls_.Get(ctl::kAutoConnectCheckBox).Checked() && !controls_.Get(ctl::kHubIpEdit).Text().empty() &&
        !controls_.Get(ctl::kHubPortEdit).Text().empty()) {
      lifecycle_.ConnectAction();
    }
  });
}

void Bot::FillAboutPage() {
  controls_.Get(ctl::kMainForm).SetCaption(kProductName);
  controls_.Get(ctl::kApplicationLabel).SetCaption(ApplicationText());
  controls_.Get(ctl::kCopyrightLabel).SetCaption(CopyrightText());
  controls_.Get(ctl::kFaqMemo).SetText(FaqText());
  controls_.Get(ctl::kThanksMemo).SetText(ThanksText());
}

void Bot::RebuildHelpMemo() {
  controls_.Get(ctl::kHelpMemo).SetText(BuildConsoleHelpText(context_.CurrentTrigger()));
}

void Bot::ApplyLanguage() {
  const std::string& file = controls_.Get(ctl::kLangFileEdit).Text();
  if (!file.empty()) {
    lang_.LoadFile(programDirectory_ / "translations" / file);
  }
  varnek::ApplyLanguage(controls_, lang_, connection_.Connected());
}

void Bot::BrowseLanguageFile() {
  const std::filesystem::path directory = programDirectory_ / "translations";
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
  NoticeIfKicked(detections_.HandleMyInfo(*fields), fields->nick);
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
