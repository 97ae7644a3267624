# Builds PtokaX with its own makefile (included here for its object list and
# compile rules) but without the skein hashing library, whose source its
# archive lacks: passwords then stay plain, which the test hub does not mind.
# Run in the extracted source directory: make -f build.mk ptokax
include makefile

CXXFLAGS = -O -D_WITHOUT_SKEIN -fpermissive -w
INCLUDE = -Itinyxml -I/usr/include/lua5.3

ptokax: $(OBJS)
	$(CXX) $(OBJS) -o PtokaX -lpthread -lrt -lz -llua5.3 -ltinyxml
