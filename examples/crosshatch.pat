; Cross-hatching: the diagonal spacing puts eight lines across every unit of the tile's edge.
*CROSS45,Diagonal cross-hatch
45, 0,0, 0,.0883883476483184
135, 0,0, 0,.0883883476483184
*GRID,Square grid of fifths
0, 0,0, 0,.2
90, 0,0, 0,.2
