#include "core/commands/UpdateCheck.h"

#include "core/context/BotVoice.h"
#include "core/model/ControlModel.h"
#include "core/model/ControlNames.h"
#include "core/store/LangTable.h"
#include "core/text/Product.h"

namespace varnek {

void UpdateCheck::Check() {
  const std::vector<std::pair<std::string, std::string>> headers = {
      {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"},
      {"Accept", "text/html, */*"},
  };
  context_.http.Get(std::string(kWebsite) + "version.txt", headers,
                    [this](const HttpResult& result) { OnAnswer(result.body); });
}

std::optional<long long> UpdateCheck::VersionNumber(std::string_view version) {
  long long number = 0;
  int digits = 0;
  for (char c : version) {
    if (c == '.') {
      continue;
    }
    if (c < '0' || c > '9' || digits >= 18) {
      return std::nullopt;
    }
    number = number * 10 + (c - '0');
    ++digits;
  }
  return digits > 0 ? std::optional<long long>(number) : std::nullopt;
}

void UpdateCheck::OnAnswer(std::optional<std::string> body) {
  Control& label = context_.controls.Get(ctl::kLatestLabel);
  if (!body) {
    label.SetCaption(context_.lang.Text(LangVersionFileMissing));
    return;
  }
  // A text file usually ends with a line end; it is not part of the version.
  std::string version = *body;
  while (!version.empty() && (version.back() == '\n' || version.back() == '\r' || version.back() == ' ')) {
    version.pop_back();
  }
  label.SetCaption(version);
  if (!context_.controls.Get(ctl::kUpdatesNotifyCheckBox).Checked()) {
    return;
  }
  // A body that is no version (a web server's error page, say) is shown but
  // announces nothing.
  const auto latest = VersionNumber(version);
  const auto own = VersionNumber(kProductVersion);
  if (!latest || !own || *latest <= *own) {
    return;
  }
  if (context_.dialogs.MessageBox(DialogKind::Confirmation, DialogButtons::YesNo,
                                  context_.lang.Format(LangUpdateConfirmation, {kProductName}),
                                  Question::Update) == DialogAnswer::Yes) {
    context_.shell.OpenUrl(kWebsite);
  }
}

}  // namespace varnek
