#ifndef MEMORYTUNING_H
#define MEMORYTUNING_H

// Every drawing step allocates and frees several picture-sized (1 MB) buffers. By default the C
// library hands such buffers back to the system at once, and every new one then costs a page
// fault per 4 KB; keeping freed memory for reuse makes a drawing step several times faster.
void tuneMemoryForPictures();

#endif
