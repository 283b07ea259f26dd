// Квиртон: composes examination tickets from a base of questions.
#include "gui/app/AppWindows.h"

int main(int argc, char **argv)
{
    kv::gui::Application app(argc, argv);
    return kv::gui::runApplication(app);
}
