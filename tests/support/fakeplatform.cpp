#include "fakeplatform.h"

namespace listora::test {

QStringList FakePlatform::messageTexts() const
{
    QStringList texts;
    for (const MessageRequest &m : messages)
        texts.append(m.text);
    return texts;
}

} // namespace listora::test
