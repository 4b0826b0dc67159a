#pragma once
// SIGTERM and SIGINT end the program "etiquetas" in order, at any time: the
// database work in progress is cancelled, the GUI thread closes the windows
// and leaves its loops, and the data modules roll back and detach as they
// are destroyed. Call once, after the application object exists.
void InstalarEncerramentoDoPrograma();
// The exit status: `resultado` of the message loop, or 128 + the signal that
// ended the program (said on standard error).
int ResultadoDoPrograma(int resultado);
