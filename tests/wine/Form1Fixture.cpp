#include "Form1Fixture.h"

#include "MessagePump.h"

void Form1Fixture::CreateForm1() {
    application.Initialize();
    application.CreateForm(Form1);
    ASSERT_NE(Form1, nullptr);
}

TEdit* Form1Fixture::Field(int index) const {
    const std::array<TEdit*, 6> fields{Form1->Edit1, Form1->Edit2, Form1->Edit3,
                                       Form1->Edit4, Form1->Edit5, Form1->Edit6};
    return fields.at(static_cast<std::size_t>(index));
}

std::array<std::wstring, 6> Form1Fixture::Fields() const {
    std::array<std::wstring, 6> texts;
    for (int i = 0; i < 6; ++i) {
        texts[static_cast<std::size_t>(i)] = Field(i)->Text();
    }
    return texts;
}

Form1Fixture::~Form1Fixture() {
    CancelRunLater();
    Form1 = nullptr;
}
