#pragma once

#include <QPointer>
#include <QWidget>

#include "core/model/Ports.h"

namespace varnek {

class HubCodec;

// The window's modal dialogs and the shell: message boxes, the text input
// box, colour and file pickers, opening URLs and the clipboard.
class QtDialogs : public Dialogs, public Shell {
 public:
  explicit QtDialogs(const HubCodec& codec) : codec_(codec) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  DialogAnswer MessageBox(DialogKind kind, DialogButtons buttons, const std::string& text, Question question) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& initial) override;
  std::optional<std::string> InputBoxWithFeedback(const std::string& title, const std::string& prompt,
                                                  const std::string& initial, const InputFeedback& feedback) override;
  std::optional<int> PickColour(int initial) override;
  std::optional<std::string> PickFile(const std::string& directory, const std::string& filterName,
                                      const std::string& pattern, const std::string& title) override;
  void OpenUrl(const std::string& url) override;
  void SetClipboardText(const std::string& text) override;

 private:
  const HubCodec& codec_;
  QPointer<QWidget> owner_;
};

// Windows colours are 0x00BBGGRR; Qt's are red, green, blue.
QColor ColourOf(int windowsColour);
int WindowsColourOf(const QColor& colour);

}  // namespace varnek
