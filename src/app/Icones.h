#pragma once
// Pictures of the main window's buttons and of the waiting window, drawn here
// so the program carries no image files.
#include <QIcon>
#include <QPixmap>

QIcon IconeSair();
QIcon IconeEtiquetas();
QIcon IconeConfig();
QIcon IconeAtualizaBase();
QPixmap ImagemAmpulheta(int lado);
