// How a form class connects its design: each component of the design fills the form field of the
// same name, and each handler name of the design finds a method in the form's handler table.
//
//     forms::DesignBindings bindings;
//     bindings.Field("Button1", Button1).Handler("Button1Click", this, &TForm1::Button1Click);
//     LoadDesign(Form1Design(), bindings);
#pragma once

#include "forms/Component.h"
#include "forms/Events.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace forms {

struct ComponentDesign;

class DesignBindings {
public:
    // The component named `name` is created as a T (the design must give T's class name) and
    // stored in `field`.
    template <class T> DesignBindings& Field(const char* name, T*& field) {
        fields_.push_back(FieldBinding{name, T::kClassName, [&field](TComponent* owner) {
                                           T* component = new T(owner);
                                           field = component;
                                           return static_cast<TComponent*>(component);
                                       }});
        return *this;
    }

    DesignBindings& Handler(const char* name, TNotifyEvent handler);

    template <class Form>
    DesignBindings& Handler(const char* name, Form* form, void (Form::*method)(TComponent*)) {
        return Handler(name, [form, method](TComponent* sender) { (form->*method)(sender); });
    }

    // Creates the component of a design row, owned by `owner`, and fills its field. Throws
    // EComponentError when no field has the row's name or the field is of another class.
    TComponent* CreateComponent(const ComponentDesign& row, TComponent* owner) const;
    // The handler of that name; throws EComponentError when there is none.
    TNotifyEvent ResolveHandler(const char* name) const;
    // Throws EComponentError naming the first field that no row of the design filled.
    void CheckAllFieldsFilled(const std::vector<const char*>& designedNames) const;

private:
    struct FieldBinding {
        std::string name;
        const char* className;
        std::function<TComponent*(TComponent* owner)> create;
    };
    std::vector<FieldBinding> fields_;
    std::map<std::string, TNotifyEvent, std::less<>> handlers_;
};

} // namespace forms
