#pragma once
// How windows make their parts: the form their .ui describes, and children named for the
// tests and style sheets that find them.
#include <QString>

#include <memory>
#include <utility>

namespace zrk {

// A window's form, made by its .ui: the deleter is made where the form's type is known, so the
// window needs no destructor of its own.
template <class Form>
using FormPtr = std::unique_ptr<Form, void (*)(Form*)>;

template <class Form, class Window>
FormPtr<Form> makeForm(Window* window) {
    FormPtr<Form> form(new Form, [](Form* f) { delete f; });
    form->setupUi(window);
    return form;
}

// A new object with its object name; `args` go to its constructor (the parent among them).
template <class Object, class... Args>
Object* named(const char* name, Args&&... args) {
    auto* object = new Object(std::forward<Args>(args)...);
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

}  // namespace zrk
