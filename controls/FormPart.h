#pragma once
// A group of controls that more than one form shows, such as a set of pages. The part's
// controls are its own members, registered with the form that holds it (they are the
// form's controls for the hosts), and its handlers are the part's own methods, bound the
// same way a form binds its own.

#include "controls/Form.h"

namespace ombrix {

class TFormPart : public THandlerBinder {
 public:
  explicit TFormPart(TForm& form) : form_(form) {}
  virtual ~TFormPart() = default;
  TFormPart(const TFormPart&) = delete;
  TFormPart& operator=(const TFormPart&) = delete;

  TForm& Form() const { return form_; }

 private:
  TForm& form_;
};

}  // namespace ombrix
