// model_bench --frames (model_frames.cpp): the model learnt while a roast
// runs, in real time, and the status frames' lateness meanwhile.
#pragma once

int RunModelFrames(int argc, char** argv);
