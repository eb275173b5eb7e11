#include "apps/framework/FrameworkMain.h"

#include "apps/framework/QVApplication.h"

namespace
{

// One more word than there are blanks: consecutive blanks mark empty words between them.
int CountWords(QVString& line)
{
    int words = 1;
    for (int at = line.FindText(" ", 0); at >= 0; at = line.FindText(" ", at + 1))
        ++words;
    return words;
}

}  // namespace

int QVFrameworkMain(QVHandle instance, const char* commandLine)
{
    QVApplication* application = QVGetApplication();
    if (application == nullptr)
        return -1;

    application->SetInstance(instance);
    int result = application->Run();
    if (result >= 0)
        return result;

    QVString line(commandLine);
    int count = CountWords(line);
    QVArray<QVString> words;
    words.SetSize(count);
    if (count == 1)
    {
        words[0].Assign(line);
    }
    else
    {
        for (int i = 0; i < count; ++i)
            line.GetField(words[i], i, ' ');
    }
    return application->RunArgs(words);
}
