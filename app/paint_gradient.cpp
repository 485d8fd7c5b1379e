#include "app/main_window.h"
#include "logic/bands.h"

void Tavola::paintGradient(int drawnNumber, int colourSeed)
{
    BackdropArea *client = form->client();
    client->setBackground(renderGradient(client->size(), drawnNumber, colourSeed));
}
